// Resampling kernels of Bmp32_Resamplers (included by Bmp32_Resamplers.h):
// TCustomKernel and the fourteen kernel classes (box, linear, cosine, spline,
// cubic, Mitchell, Albrecht, Lanczos, Gaussian, Blackman, Hann, Hamming,
// sinsh, Hermite), their class references and KernelList.
// Portable: no Windows header.
#pragma once

#include "bitmap/Bmp32_Containers.h"
#include "rtl/Classes.h"
#include "rtl/System.h"

class TNotifiablePersistent;

class TCustomKernel : public TPersistent, public IPublishedProperties {
 public:
  TCustomKernel() = default;

  // False here and for box, linear and cosine; true for every other kernel.
  virtual bool NeedsClamping() const { return false; }
  virtual Single Filter(Single Value) = 0;
  virtual Single GetWidth() = 0;

  // Told of changes when assigned (nothing in the program assigns it).
  TNotifiablePersistent* Observer() const { return FObserver; }
  void SetObserver(TNotifiablePersistent* Value) { FObserver = Value; }
  void Changed();

  const TPublishedProperties& PublishedProperties() const override;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TNotifiablePersistent* FObserver = nullptr;
};
using TCustomKernelClass = TClassRef;

class TBoxKernel : public TCustomKernel {
 public:
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 1; }
};

class TLinearKernel : public TCustomKernel {
 public:
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 1; }
};

class TCosineKernel : public TCustomKernel {
 public:
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 1; }
};

class TSplineKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 2; }
};

class TMitchellKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 2; }
};

class TCubicKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 2; }
  Single Coeff() const { return FCoeff; }
  void SetCoeff(Single Value);
  const TPublishedProperties& PublishedProperties() const override;

 private:
  Single FCoeff = -0.5f;
};

class THermiteKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return 2; }
  Single Bias() const { return FBias; }
  void SetBias(Single Value);
  Single Tension() const { return FTension; }
  void SetTension(Single Value);
  const TPublishedProperties& PublishedProperties() const override;

 private:
  Single FBias = 0;
  Single FTension = 0;
};

class TWindowedSincKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  Single Filter(Single Value) override;
  Single GetWidth() override { return FWidth; }
  virtual Single WindowFactor(Single Value) = 0;
  Single Width() const { return FWidth; }
  // Limited to at most 16.
  void SetWidth(Single Value);
  Single WidthReciprocal() const { return FWidthReciprocal; }
  const TPublishedProperties& PublishedProperties() const override;

 protected:
  Single FWidth = 3;
  Single FWidthReciprocal = 1.0f / 3.0f;
};

class TAlbrechtKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  TAlbrechtKernel();
  Single WindowFactor(Single Value) override;
  Integer Terms() const { return FTerms; }
  // Limited to 2..11; copies that row of the coefficient table; no Changed.
  void SetTerms(Integer Value);
  const TPublishedProperties& PublishedProperties() const override;

 private:
  Integer FTerms = 0;
  Double FCoefPointer[11] = {};
};

class TLanczosKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  Single WindowFactor(Single Value) override;
};

class TGaussianKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  TGaussianKernel();
  Single WindowFactor(Single Value) override;
  Single Sigma() const { return FSigma; }
  // 0 is ignored.
  void SetSigma(Single Value);
  const TPublishedProperties& PublishedProperties() const override;

 private:
  Single FSigma = 0;
  Single FSigmaReciprocalLn2 = 0;
};

class TBlackmanKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  Single WindowFactor(Single Value) override;
};

class THannKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  Single WindowFactor(Single Value) override;
};

class THammingKernel : public TWindowedSincKernel {
 public:
  static TClassRef Class();
  Single WindowFactor(Single Value) override;
};

class TSinshKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  static TClassRef Class();
  Single Filter(Single Value) override;
  Single GetWidth() override { return FWidth; }
  Single Width() const { return FWidth; }
  void SetWidth(Single Value);
  Single Coeff() const { return FCoeff; }
  // 0 is ignored.
  void SetCoeff(Single Value);
  const TPublishedProperties& PublishedProperties() const override;

 private:
  Single FWidth = 3;
  Single FCoeff = 0.5f;
};

// 1 at 0, else sin(pi x) / (pi x) with pi x stored as Single.
Single SincValue(Single X);

// The registered kernel classes (14 at start-up, in the fixed order).
extern TClassList* KernelList;
void AddKernelClass(TClassRef KernelClass);
// Creates a kernel of a class reference (nullptr for a non-kernel class).
TCustomKernel* CreateKernel(TClassRef KernelClass);
