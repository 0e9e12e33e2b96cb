// The picture recipes of the generator: scene textures, seamless pattern and
// frame tiles, brush tips and their previews, shadow and reflection icons,
// frame thumbnails and mask frames, each drawn from numbers and fixed seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mediagen/Raster.h"

namespace mediagen {

// A recipe named in a manifest: its name and its arguments as written.
struct TRecipe {
  std::string Name;
  std::vector<std::string> Args;
};

// One layer of a layered frame as the preview draws it.
struct TPreviewLayer {
  bool Enabled = true;
  bool Solid = true;
  std::uint32_t Color = 0;
  bool Shaded = false;
  int ShadeCount = 1;
  int Top = 0, Left = 0, Right = 0, Bottom = 0;
  const TImage* Texture = nullptr;
};

// Draws Recipe. Throws std::invalid_argument with a message for an unknown
// recipe or bad arguments.
TImage DrawRecipe(const TRecipe& Recipe);
// The preview of a layered frame around the sample picture, fitted into
// MaxW x MaxH.
TImage DrawLayeredPreview(const std::vector<TPreviewLayer>& Layers, int MaxW, int MaxH);
// The recipe names, for the manifest check.
bool KnownRecipe(const std::string& Name);

}  // namespace mediagen
