// giflib behind the plain interface of CodecGif.h. giflib reports errors by
// codes (it neither exits nor jumps).
#include "classlib/CodecGif.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

namespace codec {
namespace {

struct Reader {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Pos;
};

int ReadFunc(GifFileType* Gif, GifByteType* Buf, int Count) {
  auto* R = static_cast<Reader*>(Gif->UserData);
  if (Count < 0) return 0;
  std::size_t N = std::min<std::size_t>(std::size_t(Count), R->Size - R->Pos);
  std::memcpy(Buf, R->Data + R->Pos, N);
  R->Pos += N;
  return int(N);
}

int WriteFunc(GifFileType* Gif, const GifByteType* Buf, int Count) {
  auto* V = static_cast<std::vector<std::uint8_t>*>(Gif->UserData);
  V->insert(V->end(), Buf, Buf + Count);
  return Count;
}

std::string Message(int Code) {
  const char* S = GifErrorString(Code);
  return std::string("GIF error: ") + (S ? S : "unknown");
}

}  // namespace

std::string GifDecode(const std::uint8_t* Data, std::size_t Size, GifImage& Out) {
  Out = GifImage();
  if (!Data || Size < 6) return "GIF error: not a GIF file";
  Reader R{Data, Size, 0};
  int Err = 0;
  GifFileType* Gif = DGifOpen(&R, ReadFunc, &Err);
  if (!Gif) return Message(Err);
  if (Gif->SWidth <= 0 || Gif->SHeight <= 0 ||
      std::uint64_t(Gif->SWidth) * std::uint64_t(Gif->SHeight) > (std::uint64_t(1) << 28)) {
    DGifCloseFile(Gif, &Err);
    return "GIF error: bad screen size";
  }
  // Read records up to the first image; its graphic control extension before it.
  int Transparent = -1, Delay = 0;
  bool Done = false;
  std::string Error;
  while (!Done) {
    GifRecordType Type;
    if (DGifGetRecordType(Gif, &Type) == GIF_ERROR) {
      Error = Message(Gif->Error);
      break;
    }
    if (Type == EXTENSION_RECORD_TYPE) {
      int Code = 0;
      GifByteType* Ext = nullptr;
      if (DGifGetExtension(Gif, &Code, &Ext) == GIF_ERROR) {
        Error = Message(Gif->Error);
        break;
      }
      if (Code == GRAPHICS_EXT_FUNC_CODE && Ext && Ext[0] >= 4) {
        GraphicsControlBlock GCB;
        if (DGifExtensionToGCB(Ext[0], Ext + 1, &GCB) == GIF_OK) {
          Transparent = GCB.TransparentColor;
          Delay = GCB.DelayTime;
        }
      }
      while (Ext) {
        if (DGifGetExtensionNext(Gif, &Ext) == GIF_ERROR) {
          Error = Message(Gif->Error);
          Ext = nullptr;
        }
      }
      if (!Error.empty()) break;
    } else if (Type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(Gif) == GIF_ERROR) {
        Error = Message(Gif->Error);
        break;
      }
      const GifImageDesc& D = Gif->Image;
      if (D.Width <= 0 || D.Height <= 0 || std::uint64_t(D.Width) * std::uint64_t(D.Height) > (std::uint64_t(1) << 28)) {
        Error = "GIF error: bad frame size";
        break;
      }
      ColorMapObject* Map = D.ColorMap ? D.ColorMap : Gif->SColorMap;
      if (!Map) {
        Error = "GIF error: no colour table";
        break;
      }
      GifFrame& F = Out.Frame;
      F.Left = D.Left;
      F.Top = D.Top;
      F.Width = D.Width;
      F.Height = D.Height;
      F.TransparentIndex = Transparent;
      F.DelayTime = Delay;
      F.Colors.resize(std::size_t(Map->ColorCount) * 3);
      for (int i = 0; i < Map->ColorCount; ++i) {
        F.Colors[i * 3] = Map->Colors[i].Red;
        F.Colors[i * 3 + 1] = Map->Colors[i].Green;
        F.Colors[i * 3 + 2] = Map->Colors[i].Blue;
      }
      F.Indexes.assign(std::size_t(D.Width) * std::size_t(D.Height), 0);
      bool Ok = true;
      if (D.Interlace) {
        static const int Offsets[4] = {0, 4, 2, 1}, Steps[4] = {8, 8, 4, 2};
        for (int Pass = 0; Pass < 4 && Ok; ++Pass)
          for (int Y = Offsets[Pass]; Y < D.Height && Ok; Y += Steps[Pass])
            Ok = DGifGetLine(Gif, F.Indexes.data() + std::size_t(Y) * D.Width, D.Width) == GIF_OK;
      } else {
        for (int Y = 0; Y < D.Height && Ok; ++Y)
          Ok = DGifGetLine(Gif, F.Indexes.data() + std::size_t(Y) * D.Width, D.Width) == GIF_OK;
      }
      if (!Ok) {
        Error = Message(Gif->Error);
        break;
      }
      // Indexes past the table read as 0.
      for (auto& I : F.Indexes)
        if (I >= Map->ColorCount) I = 0;
      Out.FrameCount = 1;
      Done = true;
    } else if (Type == TERMINATE_RECORD_TYPE) {
      Error = "GIF error: no image";
      break;
    } else {
      Error = "GIF error: bad record";
      break;
    }
  }
  Out.Width = Gif->SWidth;
  Out.Height = Gif->SHeight;
  Out.BackgroundIndex = Gif->SBackGroundColor;
  if (const ColorMapObject* Screen = Gif->SColorMap) {
    Out.ScreenColors.resize(std::size_t(Screen->ColorCount) * 3);
    for (int i = 0; i < Screen->ColorCount; ++i) {
      Out.ScreenColors[std::size_t(i) * 3] = Screen->Colors[i].Red;
      Out.ScreenColors[std::size_t(i) * 3 + 1] = Screen->Colors[i].Green;
      Out.ScreenColors[std::size_t(i) * 3 + 2] = Screen->Colors[i].Blue;
    }
  }
  DGifCloseFile(Gif, &Err);
  if (!Error.empty()) {
    Out = GifImage();
    return Error;
  }
  return std::string();
}

std::string GifEncode(const GifImage& Image, std::vector<std::uint8_t>& Out) {
  Out.clear();
  const GifFrame& F = Image.Frame;
  const int Count = int(F.Colors.size() / 3);
  if (F.Width <= 0 || F.Height <= 0 || Count < 1 || Count > 256 ||
      F.Indexes.size() != std::size_t(F.Width) * std::size_t(F.Height))
    return "GIF error: bad image";
  // The table must also cover every index used (a caller may mark an index
  // past its colours as transparent).
  int MaxIndex = Count - 1;
  for (std::uint8_t I : F.Indexes) MaxIndex = std::max(MaxIndex, int(I));
  if (F.TransparentIndex > MaxIndex) MaxIndex = F.TransparentIndex;
  int Bits = 1;
  while ((1 << Bits) < MaxIndex + 1) ++Bits;
  std::vector<GifColorType> Colors(std::size_t(1) << Bits, GifColorType{0, 0, 0});
  for (int i = 0; i < Count; ++i) Colors[i] = GifColorType{F.Colors[i * 3], F.Colors[i * 3 + 1], F.Colors[i * 3 + 2]};
  int Err = 0;
  GifFileType* Gif = EGifOpen(&Out, WriteFunc, &Err);
  if (!Gif) return Message(Err);
  ColorMapObject* Map = GifMakeMapObject(1 << Bits, Colors.data());
  std::string Error;
  auto Check = [&](int Rc) {
    if (Rc == GIF_ERROR && Error.empty()) Error = Message(Gif->Error);
    return Error.empty();
  };
  EGifSetGifVersion(Gif, true);
  if (Check(EGifPutScreenDesc(Gif, Image.Width, Image.Height, Bits, 0, Map))) {
    if (F.TransparentIndex >= 0 || F.DelayTime > 0) {
      GraphicsControlBlock GCB;
      GCB.DisposalMode = DISPOSAL_UNSPECIFIED;
      GCB.UserInputFlag = false;
      GCB.DelayTime = F.DelayTime;
      GCB.TransparentColor = F.TransparentIndex;
      GifByteType Ext[4];
      EGifGCBToExtension(&GCB, Ext);
      Check(EGifPutExtension(Gif, GRAPHICS_EXT_FUNC_CODE, 4, Ext));
    }
    if (Check(EGifPutImageDesc(Gif, F.Left, F.Top, F.Width, F.Height, false, nullptr))) {
      for (int Y = 0; Y < F.Height; ++Y)
        if (!Check(EGifPutLine(Gif, const_cast<GifPixelType*>(F.Indexes.data() + std::size_t(Y) * F.Width), F.Width)))
          break;
    }
  }
  GifFreeMapObject(Map);
  if (EGifCloseFile(Gif, &Err) == GIF_ERROR && Error.empty()) Error = Message(Err);
  if (!Error.empty()) Out.clear();
  return Error;
}

}  // namespace codec
