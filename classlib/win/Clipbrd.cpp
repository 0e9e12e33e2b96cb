// The system clipboard.
#include "classlib/Clipbrd.h"
#include "rtl/ScopeGuard.h"

#include <shlobj.h>

#include <cstring>
#include <memory>

namespace {

LRESULT CALLBACK ClipboardWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND CreateClipboardWindow() {
  static const WCHAR* ClassName = reinterpret_cast<const WCHAR*>(u"LumigraClipboard");
  WNDCLASSEXW WC = {};
  WC.cbSize = sizeof(WC);
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), ClassName, &WC)) {
    WC = {};
    WC.cbSize = sizeof(WC);
    WC.lpfnWndProc = ClipboardWndProc;
    WC.hInstance = GetModuleHandleW(nullptr);
    WC.lpszClassName = ClassName;
    RegisterClassExW(&WC);
  }
  return CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, reinterpret_cast<const WCHAR*>(u""), WS_POPUP, 0, 0, 0, 0,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A locked global block, unlocked by the destructor.
class TGlobalLock {
 public:
  explicit TGlobalLock(HANDLE H) : FHandle(H), FData(H ? GlobalLock(H) : nullptr), FSize(H ? GlobalSize(H) : 0) {}
  ~TGlobalLock() {
    if (FData) GlobalUnlock(FHandle);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  const Byte* Data() const { return static_cast<const Byte*>(FData); }
  Byte* Data() { return static_cast<Byte*>(FData); }
  size_t Size() const { return FSize; }

 private:
  HANDLE FHandle;
  void* FData;
  size_t FSize;
};

HGLOBAL AllocGlobal(size_t Size) {
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, Size);
  if (!H) throw EOutOfMemory(u"Out of memory");
  return H;
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(u"Bitmap image is not valid"); }

// A packed DIB (header, masks or colour table, bottom-up pixels) as a bitmap.
void DIBToBitmap(const Byte* Data, size_t Size, TBitmap* Dest) {
  if (Size < sizeof(BITMAPINFOHEADER)) InvalidBitmap();
  BITMAPINFOHEADER H;
  std::memcpy(&H, Data, sizeof(H));
  if (H.biSize < sizeof(BITMAPINFOHEADER) || H.biSize > Size || H.biWidth <= 0 || H.biHeight == 0 ||
      H.biPlanes != 1)
    InvalidBitmap();
  const Int64 W = H.biWidth;
  const Int64 AbsH = H.biHeight < 0 ? -Int64(H.biHeight) : Int64(H.biHeight);
  if (H.biBitCount == 32 && (H.biCompression == BI_RGB || H.biCompression == BI_BITFIELDS)) {
    size_t Off = H.biSize;
    if (H.biCompression == BI_BITFIELDS) {
      DWORD Masks[3];
      if (H.biSize == sizeof(BITMAPINFOHEADER)) {
        if (Size < Off + 12) InvalidBitmap();
        std::memcpy(Masks, Data + Off, 12);
        Off += 12;
      } else {
        if (H.biSize < sizeof(BITMAPINFOHEADER) + 12) InvalidBitmap();
        std::memcpy(Masks, Data + sizeof(BITMAPINFOHEADER), 12);
      }
      if (Masks[0] != 0xFF0000u || Masks[1] != 0xFF00u || Masks[2] != 0xFFu) goto General;
    }
    Off += size_t(H.biClrUsed) * 4;
    if (Off > Size || (Size - Off) / 4 / size_t(W) < size_t(AbsH)) InvalidBitmap();
    Dest->SetPixelFormat(pf32bit);
    Dest->SetHandleType(bmDIB);
    Dest->SetSize(Integer(W), Integer(AbsH));
    for (Int64 Y = 0; Y < AbsH; ++Y) {
      const Int64 SrcRow = H.biHeight > 0 ? AbsH - 1 - Y : Y;
      std::memcpy(Dest->ScanLine(Integer(Y)), Data + Off + size_t(SrcRow) * size_t(W) * 4, size_t(W) * 4);
    }
    Dest->Changed(Dest);
    return;
  }
General:
  // Any other layout goes through the bitmap file reader.
  {
    TMemoryStream S;
    BITMAPFILEHEADER F = {};
    F.bfType = 0x4D42;
    F.bfSize = DWORD(sizeof(F) + Size);
    size_t Colors = H.biClrUsed;
    if (Colors == 0 && H.biBitCount <= 8) Colors = size_t(1) << H.biBitCount;
    size_t Masks = (H.biCompression == BI_BITFIELDS && H.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
    F.bfOffBits = DWORD(sizeof(F) + H.biSize + Masks + Colors * 4);
    S.WriteBuffer(&F, sizeof(F));
    S.WriteBuffer(Data, Integer(Size));
    S.SetPosition(0);
    Dest->LoadFromStream(&S);
  }
}

// The pixels as a packed DIB: 32 bits (BI_RGB, or BI_BITFIELDS with an alpha
// mask in a V5 header) or 24 bits.
HGLOBAL MakeDIB(const std::vector<Byte>& BGRA, Integer W, Integer H, Integer Bits, bool V5) {
  const size_t HeaderSize = V5 ? sizeof(BITMAPV5HEADER) : sizeof(BITMAPINFOHEADER);
  const size_t Stride = Bits == 32 ? size_t(W) * 4 : ((size_t(W) * 3 + 3) & ~size_t(3));
  HGLOBAL G = AllocGlobal(HeaderSize + Stride * size_t(H));
  TGlobalLock L(G);
  Byte* P = L.Data();
  if (V5) {
    BITMAPV5HEADER V = {};
    V.bV5Size = sizeof(V);
    V.bV5Width = W;
    V.bV5Height = H;
    V.bV5Planes = 1;
    V.bV5BitCount = WORD(Bits);
    V.bV5Compression = BI_BITFIELDS;
    V.bV5SizeImage = DWORD(Stride * size_t(H));
    V.bV5RedMask = 0x00FF0000;
    V.bV5GreenMask = 0x0000FF00;
    V.bV5BlueMask = 0x000000FF;
    V.bV5AlphaMask = 0xFF000000;
    V.bV5CSType = LCS_sRGB;
    V.bV5Intent = LCS_GM_IMAGES;
    std::memcpy(P, &V, sizeof(V));
  } else {
    BITMAPINFOHEADER I = {};
    I.biSize = sizeof(I);
    I.biWidth = W;
    I.biHeight = H;
    I.biPlanes = 1;
    I.biBitCount = WORD(Bits);
    I.biCompression = BI_RGB;
    I.biSizeImage = DWORD(Stride * size_t(H));
    std::memcpy(P, &I, sizeof(I));
  }
  Byte* Pix = P + HeaderSize;
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* Src = &BGRA[size_t(H - 1 - Y) * size_t(W) * 4];  // bottom-up
    Byte* Row = Pix + size_t(Y) * Stride;
    if (Bits == 32) {
      std::memcpy(Row, Src, size_t(W) * 4);
    } else {
      for (Integer X = 0; X < W; ++X) {
        Row[X * 3] = Src[X * 4];
        Row[X * 3 + 1] = Src[X * 4 + 1];
        Row[X * 3 + 2] = Src[X * 4 + 2];
      }
    }
  }
  return G;
}

TClipboard* GClipboard = nullptr;

}  // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() {
  if (FOpenRefs > 0) CloseClipboard();
  if (FWindow) DestroyWindow(FWindow);
}

void TClipboard::Open() {
  if (FOpenRefs == 0) {
    if (!FWindow) FWindow = CreateClipboardWindow();
    // Another program may hold the clipboard for a moment.
    bool Opened = false;
    for (int Try = 0; Try < 20 && !Opened; ++Try) {
      Opened = OpenClipboard(FWindow) != FALSE;
      if (!Opened) Sleep(10);
    }
    if (!Opened) throw EClipboardException(u"Cannot open clipboard");
    FEmptied = false;
  }
  ++FOpenRefs;
}

void TClipboard::Close() {
  if (FOpenRefs == 0) return;
  if (--FOpenRefs == 0) CloseClipboard();
}

void TClipboard::Adding() {
  if (FOpenRefs > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

bool TClipboard::HasFormat(UINT Format) const { return IsClipboardFormatAvailable(Format) != FALSE; }

HANDLE TClipboard::GetAsHandle(UINT Format) {
  Open();
  HANDLE H = GetClipboardData(Format);
  Close();
  return H;
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value) {
  Open();
  TFinally Done([&] { Close(); });
  Adding();
  if (!SetClipboardData(Format, Value)) throw EClipboardException(u"Cannot put the data on the clipboard");
}

String TClipboard::AsText() {
  String R;
  Open();
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    TGlobalLock L(H);
    if (L.Data()) {
      const size_t Max = L.Size() / 2;
      const Char* P = reinterpret_cast<const Char*>(L.Data());
      size_t N = 0;
      while (N < Max && P[N] != 0) ++N;
      R.assign(P, N);
    }
  }
  Close();
  return R;
}

void TClipboard::SetAsText(const String& Value) {
  HGLOBAL G = AllocGlobal((Value.size() + 1) * sizeof(Char));
  {
    TGlobalLock L(G);
    std::memcpy(L.Data(), Value.c_str(), (Value.size() + 1) * sizeof(Char));
  }
  TFinally Undo([&] { GlobalFree(G); });  // the clipboard owns it once set
  SetAsHandle(CF_UNICODETEXT, G);
  Undo.Dismiss();
}

void TClipboard::Assign(TPersistent* Source) {
  TGraphic* G = nullptr;
  if (auto* P = dynamic_cast<TPicture*>(Source)) G = P->Graphic();
  else G = dynamic_cast<TGraphic*>(Source);
  if (!G) {
    TPersistent::Assign(Source);
    return;
  }
  std::unique_ptr<TBitmap> Drawn;
  auto* B = dynamic_cast<TBitmap*>(G);
  if (!B) {
    Drawn = std::make_unique<TBitmap>();
    Drawn->SetPixelFormat(pf24bit);
    Drawn->SetSize(G->Width(), G->Height());
    Drawn->Canvas()->Brush()->SetColor(clWhite);
    Drawn->Canvas()->FillRect(TRect(0, 0, G->Width(), G->Height()));
    Drawn->Canvas()->StretchDraw(TRect(0, 0, G->Width(), G->Height()), G);
    B = Drawn.get();
  }
  if (B->Empty()) throw EInvalidGraphic(u"Cannot put an empty bitmap on the clipboard");
  const Integer W = B->Width(), H = B->Height();
  const bool Alpha = B->PixelFormat() == pf32bit;
  std::vector<Byte> Pixels;
  GetBitmapBGRA(B, Pixels);

  std::vector<std::pair<UINT, HANDLE>> Items;
  auto FreeAll = [&] {
    for (auto& [F, Hd] : Items) {
      if (F == CF_BITMAP) DeleteObject(Hd);
      else GlobalFree(Hd);
    }
  };
  {
    TFinally Undo(FreeAll);
    Items.push_back({CF_DIB, MakeDIB(Pixels, W, H, Alpha ? 32 : 24, false)});
    if (Alpha) Items.push_back({CF_DIBV5, MakeDIB(Pixels, W, H, 32, true)});
    // A device bitmap for the programs that read CF_BITMAP.
    HDC Screen = GetDC(nullptr);
    HBITMAP DDB = CreateCompatibleBitmap(Screen, W, H);
    BITMAPINFO BI = TopDownInfo32(W, H);
    if (DDB) SetDIBits(Screen, DDB, 0, UINT(H), Pixels.data(), &BI, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Screen);
    if (!DDB) throw EOutOfResources(u"Out of system resources");
    Items.push_back({CF_BITMAP, DDB});
    Undo.Dismiss();
  }
  Open();
  Adding();
  for (size_t I = 0; I < Items.size(); ++I) {
    if (!SetClipboardData(Items[I].first, Items[I].second)) {
      Items.erase(Items.begin(), Items.begin() + Integer(I));
      FreeAll();
      Close();
      throw EClipboardException(u"Cannot put the data on the clipboard");
    }
  }
  Close();
}

void TClipboard::AssignTo(TPersistent* Dest) {
  TBitmap* B = dynamic_cast<TBitmap*>(Dest);
  if (!B) {
    if (auto* P = dynamic_cast<TPicture*>(Dest)) {
      // Read into a fresh bitmap so that a failure leaves the picture as it was.
      TBitmap Tmp;
      AssignTo(&Tmp);
      P->Bitmap()->Assign(&Tmp);
      return;
    }
    TPersistent::AssignTo(Dest);
    return;
  }
  Open();
  TFinally Done([&] { Close(); });
  HANDLE H = nullptr;
  if ((H = GetClipboardData(CF_DIBV5)) || (H = GetClipboardData(CF_DIB))) {
    TGlobalLock L(H);
    if (!L.Data()) InvalidBitmap();
    DIBToBitmap(L.Data(), L.Size(), B);
  } else if (HBITMAP Bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    HBITMAP Copy = static_cast<HBITMAP>(CopyImage(Bmp, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!Copy) InvalidBitmap();
    B->SetHandle(Copy);
  } else {
    throw EInvalidGraphic(u"Unsupported clipboard format");
  }
}

void TClipboard::SetFiles(const std::vector<String>& Files) {
  size_t Chars = 1;  // the closing empty name
  for (const String& F : Files) Chars += F.size() + 1;
  const size_t Size = sizeof(DROPFILES) + Chars * sizeof(WCHAR);
  HGLOBAL G = AllocGlobal(Size);
  {
    TGlobalLock L(G);
    auto* D = reinterpret_cast<DROPFILES*>(L.Data());
    D->pFiles = sizeof(DROPFILES);
    D->pt.x = 0;
    D->pt.y = 0;
    D->fNC = FALSE;
    D->fWide = TRUE;
    Char* P = reinterpret_cast<Char*>(L.Data() + sizeof(DROPFILES));
    for (const String& F : Files) {
      std::memcpy(P, F.data(), F.size() * sizeof(Char));
      P += F.size() + 1;  // zero-initialised terminator
    }
  }
  TFinally Undo([&] { GlobalFree(G); });  // the clipboard owns it once set
  SetAsHandle(CF_HDROP, G);
  Undo.Dismiss();
}

std::vector<String> TClipboard::Files() {
  std::vector<String> R;
  Open();
  if (HANDLE H = GetClipboardData(CF_HDROP)) {
    TGlobalLock L(H);
    if (L.Data() && L.Size() >= sizeof(DROPFILES)) {
      const auto* D = reinterpret_cast<const DROPFILES*>(L.Data());
      size_t Off = D->pFiles;
      if (Off >= sizeof(DROPFILES) && Off <= L.Size()) {
        if (D->fWide) {
          const Char* P = reinterpret_cast<const Char*>(L.Data() + Off);
          const size_t Max = (L.Size() - Off) / 2;
          size_t I = 0;
          while (I < Max && P[I] != 0) {
            size_t N = 0;
            while (I + N < Max && P[I + N] != 0) ++N;
            R.emplace_back(P + I, N);
            I += N + 1;
          }
        } else {
          const char* P = reinterpret_cast<const char*>(L.Data() + Off);
          const size_t Max = L.Size() - Off;
          size_t I = 0;
          while (I < Max && P[I] != 0) {
            size_t N = 0;
            while (I + N < Max && P[I + N] != 0) ++N;
            int WN = MultiByteToWideChar(CP_ACP, 0, P + I, int(N), nullptr, 0);
            String S(size_t(WN), u'\0');
            if (WN > 0) MultiByteToWideChar(CP_ACP, 0, P + I, int(N), reinterpret_cast<WCHAR*>(S.data()), WN);
            R.push_back(S);
            I += N + 1;
          }
        }
      }
    }
  }
  Close();
  return R;
}

TClipboard* Clipboard() {
  if (!GClipboard) GClipboard = new TClipboard();
  return GClipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
  TClipboard* Old = GClipboard;
  GClipboard = NewClipboard;
  return Old;
}
