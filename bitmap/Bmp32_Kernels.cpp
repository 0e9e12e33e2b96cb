#include "bitmap/Bmp32_Kernels.h"

#include <cmath>

#include "bitmap/Bmp32.h"

namespace {

constexpr Extended PiExt = 3.14159265358979323846264338327950288L;

template <class T>
TClassRef MakeKernelClass(const char16_t* Name) {
  static const TClassDesc Desc{Name, [](TObject*) -> TObject* { return new T(); }};
  return &Desc;
}

TPublishedProperty FloatProp(const char16_t* Name, Single (*Get)(TObject*), void (*Set)(TObject*, Single)) {
  TPublishedProperty P;
  P.Name = Name;
  P.Kind = tkFloat;
  P.Get = [Get](TObject* O) -> TPropValue { return Extended(Get(O)); };
  P.Set = [Set](TObject* O, const TPropValue& V) {
    if (auto* E = std::get_if<Extended>(&V)) Set(O, Single(*E));
  };
  return P;
}

// Coefficient rows of the Albrecht window for 2..11 terms (first coefficient first).
const Double AlbrechtCoefs[10][11] = {
    {0.5383553946707251, 0.4616446053292749},
    {0.346100822018625, 0.497340635096738, 0.156558542884637},
    {0.226982412792069, 0.457254070828427, 0.273199027957384, 0.0425644884221201},
    {0.14894260601583, 0.386001173639176, 0.340977403214053, 0.1139879604246, 0.0100908567063414},
    {0.0971676200107429, 0.308845222524055, 0.362623371437917, 0.188953325525116, 0.0402095714148751,
     0.0022008890872942},
    {0.0639644241143904, 0.239938645993528, 0.350159563238205, 0.247741118970808, 0.085438256055858,
     0.0123202033692932, 0.000437788257917735},
    {0.0421072107042137, 0.182076226633776, 0.317713781059942, 0.284438001373442, 0.136762237777383,
     0.0334038053504025, 0.00341677216705768, 8.19649337831348E-5},
    {0.0276143731612611, 0.135382228758844, 0.275287234472237, 0.298843335317801, 0.185319330279284,
     0.0648884482549063, 0.0117641910285655, 0.000885987580106899, 1.48711469943406E-5},
    {0.0179908225352538, 0.098795958606521, 0.229883817001211, 0.294113019095183, 0.224338977814325,
     0.103248806248099, 0.0275674109448523, 0.00383958622947123, 0.000218971708430106, 2.62981665347889E-6},
    {0.0118717127796602, 0.0719533651951142, 0.187887160922585, 0.275808174097291, 0.248904243244464,
     0.141729867200712, 0.0502002976228256, 0.0104589649084984, 0.0011361511274166, 4.96285981703436E-5,
     4.3430326268572E-7},
};

}  // namespace

TClassList* KernelList = nullptr;

void AddKernelClass(TClassRef KernelClass) {
  if (KernelList == nullptr) KernelList = new TClassList();
  KernelList->Add(KernelClass);
}

TCustomKernel* CreateKernel(TClassRef KernelClass) {
  if (KernelClass == nullptr) return nullptr;
  TObject* O = KernelClass->Create(nullptr);
  auto* K = dynamic_cast<TCustomKernel*>(O);
  if (K == nullptr) delete O;
  return K;
}

Single SincValue(Single X) {
  if (X == 0) return 1;
  const Single PX = Single(PiExt * X);
  return Single(std::sin(Extended(PX)) / PX);
}

// ---------------------------------------------------------------------------
// TCustomKernel

void TCustomKernel::Changed() {
  if (FObserver != nullptr) FObserver->Changed();
}

void TCustomKernel::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TCustomKernel*>(Dest) != nullptr)
    AssignPublishedProperties(this, Dest, tkProperties);
  else
    TPersistent::AssignTo(Dest);
}

const TPublishedProperties& TCustomKernel::PublishedProperties() const {
  static const TPublishedProperties None;
  return None;
}

// ---------------------------------------------------------------------------
// Simple kernels

TClassRef TBoxKernel::Class() { return MakeKernelClass<TBoxKernel>(u"TBoxKernel"); }
Single TBoxKernel::Filter(Single Value) { return (Value >= -0.5f && Value <= 0.5f) ? 1.0f : 0.0f; }

TClassRef TLinearKernel::Class() { return MakeKernelClass<TLinearKernel>(u"TLinearKernel"); }
Single TLinearKernel::Filter(Single Value) {
  if (Value >= -1 && Value < 0) return 1 + Value;
  if (Value >= 0 && Value < 1) return 1 - Value;
  return 0;
}

TClassRef TCosineKernel::Class() { return MakeKernelClass<TCosineKernel>(u"TCosineKernel"); }
Single TCosineKernel::Filter(Single Value) {
  if (std::fabs(Value) < 1) return Single((std::cos(PiExt * Value) + 1) / 2);
  return 0;
}

TClassRef TSplineKernel::Class() { return MakeKernelClass<TSplineKernel>(u"TSplineKernel"); }
Single TSplineKernel::Filter(Single Value) {
  const Single T = std::fabs(Value);
  if (T < 1) {
    const Single TT = T * T;
    const Single TTT = TT * T;
    return Single(Extended(TTT) / 2 - TT + 2.0L / 3.0L);
  }
  if (T < 2) {
    const Single D = 2 - T;
    return Single(Extended(D) * D * D / 6);
  }
  return 0;
}

TClassRef TMitchellKernel::Class() { return MakeKernelClass<TMitchellKernel>(u"TMitchellKernel"); }
Single TMitchellKernel::Filter(Single Value) {
  const Single T = std::fabs(Value);
  const Single TT = T * T;
  const Single TTT = TT * T;
  if (T < 1) return Single((21.0L * TTT - 36.0L * TT + 16) / 18);
  if (T < 2) return Single((-7.0L * TTT + 36.0L * TT - 60.0L * T + 32) / 18);
  return 0;
}

TClassRef TCubicKernel::Class() { return MakeKernelClass<TCubicKernel>(u"TCubicKernel"); }
Single TCubicKernel::Filter(Single Value) {
  const Single T = std::fabs(Value);
  const Single TT = T * T;
  const Single TTT = TT * T;
  const Extended A = FCoeff;
  if (T < 1) return Single((A + 2) * TTT - (A + 3) * TT + 1);
  if (T < 2) return Single(A * (TTT - 5.0L * TT + 8.0L * T - 4));
  return 0;
}
void TCubicKernel::SetCoeff(Single Value) {
  if (Value != FCoeff) {
    FCoeff = Value;
    Changed();
  }
}
const TPublishedProperties& TCubicKernel::PublishedProperties() const {
  static const TPublishedProperties Props{
      FloatProp(u"Coeff", [](TObject* O) { return dynamic_cast<TCubicKernel*>(O)->Coeff(); },
                [](TObject* O, Single V) { dynamic_cast<TCubicKernel*>(O)->SetCoeff(V); })};
  return Props;
}

TClassRef THermiteKernel::Class() { return MakeKernelClass<THermiteKernel>(u"THermiteKernel"); }
Single THermiteKernel::Filter(Single Value) {
  const Single P = (1 - FTension) / 2;
  const Single B1 = (1 + FBias) * P;
  const Single B2 = (1 - FBias) * P;
  const Extended FZ = std::floor(Extended(Value));
  if (!(FZ >= -2 && FZ <= 1)) return 0;
  const Integer Z = static_cast<Integer>(FZ);
  const Single T = Single(std::fabs(Extended(Z) - Value));
  const Single T2 = T * T;
  const Single T3 = T2 * T;
  const Single M0 = Single(Extended(T3) - 2.0L * T2 + T);
  const Single M1 = T3 - T2;
  const Single H = Single(3.0L * T2 - 2.0L * T3);
  switch (Z) {
    case -2: return M1 * B2;
    case -1: return Single(Extended(M0) * B2 + H + (Extended(B1) - B2) * M1);
    case 0: return Single((Extended(B1) - B2) * M0 + (1 - Extended(H)) - Extended(M1) * B1);
    case 1: return -M0 * B1;
    default: return 0;
  }
}
void THermiteKernel::SetBias(Single Value) {
  if (Value != FBias) {
    FBias = Value;
    Changed();
  }
}
void THermiteKernel::SetTension(Single Value) {
  if (Value != FTension) {
    FTension = Value;
    Changed();
  }
}
const TPublishedProperties& THermiteKernel::PublishedProperties() const {
  static const TPublishedProperties Props{
      FloatProp(u"Bias", [](TObject* O) { return dynamic_cast<THermiteKernel*>(O)->Bias(); },
                [](TObject* O, Single V) { dynamic_cast<THermiteKernel*>(O)->SetBias(V); }),
      FloatProp(u"Tension", [](TObject* O) { return dynamic_cast<THermiteKernel*>(O)->Tension(); },
                [](TObject* O, Single V) { dynamic_cast<THermiteKernel*>(O)->SetTension(V); })};
  return Props;
}

// ---------------------------------------------------------------------------
// Windowed sinc kernels

Single TWindowedSincKernel::Filter(Single Value) {
  const Single T = std::fabs(Value);
  if (T >= FWidth) return 0;
  return SincValue(T) * WindowFactor(T);
}
void TWindowedSincKernel::SetWidth(Single Value) {
  if (Value > 16) Value = 16;
  if (Value != FWidth) {
    FWidth = Value;
    FWidthReciprocal = 1 / Value;
    Changed();
  }
}
namespace {
TPublishedProperty SincWidthProp() {
  return FloatProp(u"Width", [](TObject* O) { return dynamic_cast<TWindowedSincKernel*>(O)->Width(); },
                   [](TObject* O, Single V) { dynamic_cast<TWindowedSincKernel*>(O)->SetWidth(V); });
}
}  // namespace

const TPublishedProperties& TWindowedSincKernel::PublishedProperties() const {
  static const TPublishedProperties Props{SincWidthProp()};
  return Props;
}

TClassRef TAlbrechtKernel::Class() { return MakeKernelClass<TAlbrechtKernel>(u"TAlbrechtKernel"); }
TAlbrechtKernel::TAlbrechtKernel() { SetTerms(7); }
void TAlbrechtKernel::SetTerms(Integer Value) {
  if (Value < 2) Value = 2;
  if (Value > 11) Value = 11;
  if (Value != FTerms) {
    FTerms = Value;
    for (Integer I = 0; I < 11; ++I) FCoefPointer[I] = I < Value ? AlbrechtCoefs[Value - 2][I] : 0;
  }
}
Single TAlbrechtKernel::WindowFactor(Single Value) {
  const Double C = std::cos(Double(PiExt * Extended(Value) * FWidthReciprocal));
  Single R = Single(FCoefPointer[FTerms - 1]);
  for (Integer K = FTerms - 2; K >= 0; --K) R = Single(R * C + FCoefPointer[K]);
  return R;
}
const TPublishedProperties& TAlbrechtKernel::PublishedProperties() const {
  static const TPublishedProperties Props = [] {
    TPublishedProperties P{SincWidthProp()};
    TPublishedProperty T;
    T.Name = u"Terms";
    T.Kind = tkInteger;
    T.Get = [](TObject* O) -> TPropValue { return Int64(dynamic_cast<TAlbrechtKernel*>(O)->Terms()); };
    T.Set = [](TObject* O, const TPropValue& V) {
      if (auto* I = std::get_if<Int64>(&V)) dynamic_cast<TAlbrechtKernel*>(O)->SetTerms(Integer(*I));
    };
    P.push_back(T);
    return P;
  }();
  return Props;
}

TClassRef TLanczosKernel::Class() { return MakeKernelClass<TLanczosKernel>(u"TLanczosKernel"); }
Single TLanczosKernel::WindowFactor(Single Value) { return SincValue(Value * FWidthReciprocal); }

TClassRef TGaussianKernel::Class() { return MakeKernelClass<TGaussianKernel>(u"TGaussianKernel"); }
TGaussianKernel::TGaussianKernel() { SetSigma(1.33f); }
void TGaussianKernel::SetSigma(Single Value) {
  if (Value == 0) return;
  if (Value != FSigma) {
    FSigma = Value;
    FSigmaReciprocalLn2 = Single(-std::log(2.0L) / Value);
    Changed();
  }
}
Single TGaussianKernel::WindowFactor(Single Value) {
  return Single(std::exp(Extended(Value) * Value * FSigmaReciprocalLn2));
}
const TPublishedProperties& TGaussianKernel::PublishedProperties() const {
  static const TPublishedProperties Props = [] {
    TPublishedProperties P{
        SincWidthProp(),
        FloatProp(u"Sigma", [](TObject* O) { return dynamic_cast<TGaussianKernel*>(O)->Sigma(); },
                  [](TObject* O, Single V) { dynamic_cast<TGaussianKernel*>(O)->SetSigma(V); })};
    return P;
  }();
  return Props;
}

TClassRef TBlackmanKernel::Class() { return MakeKernelClass<TBlackmanKernel>(u"TBlackmanKernel"); }
Single TBlackmanKernel::WindowFactor(Single Value) {
  const Single C = Single(std::cos(PiExt * Value * FWidthReciprocal));
  return Single(0.16L * C * C + 0.5L * C + 0.34L);
}

TClassRef THannKernel::Class() { return MakeKernelClass<THannKernel>(u"THannKernel"); }
Single THannKernel::WindowFactor(Single Value) {
  return Single(0.5L + 0.5L * std::cos(PiExt * Value * FWidthReciprocal));
}

TClassRef THammingKernel::Class() { return MakeKernelClass<THammingKernel>(u"THammingKernel"); }
Single THammingKernel::WindowFactor(Single Value) {
  return Single(0.54L + 0.46L * std::cos(PiExt * Value * FWidthReciprocal));
}

// ---------------------------------------------------------------------------
// TSinshKernel

TClassRef TSinshKernel::Class() { return MakeKernelClass<TSinshKernel>(u"TSinshKernel"); }
Single TSinshKernel::Filter(Single Value) {
  if (Value == 0) return 1;
  return Single(std::sin(PiExt * Value) * FCoeff / std::sinh(PiExt * FCoeff * Value));
}
void TSinshKernel::SetWidth(Single Value) {
  if (Value != FWidth) {
    FWidth = Value;
    Changed();
  }
}
void TSinshKernel::SetCoeff(Single Value) {
  if (Value == 0) return;
  if (Value != FCoeff) {
    FCoeff = Value;
    Changed();
  }
}
const TPublishedProperties& TSinshKernel::PublishedProperties() const {
  static const TPublishedProperties Props{
      FloatProp(u"Width", [](TObject* O) { return dynamic_cast<TSinshKernel*>(O)->Width(); },
                [](TObject* O, Single V) { dynamic_cast<TSinshKernel*>(O)->SetWidth(V); }),
      FloatProp(u"Coeff", [](TObject* O) { return dynamic_cast<TSinshKernel*>(O)->Coeff(); },
                [](TObject* O, Single V) { dynamic_cast<TSinshKernel*>(O)->SetCoeff(V); })};
  return Props;
}
