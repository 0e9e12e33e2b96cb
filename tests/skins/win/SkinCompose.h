// Pictures composed from a loaded skin with the toolkit's image builders, as
// the skinned controls, the frame engine and the menus compose them: control
// images at any size by their resize mode, the form frame with its caption
// buttons and caption, the popup-menu window with items, the hint window,
// and a dialog laid out from those pieces for people to review.
#pragma once

#include <memory>
#include <vector>

#include "classlib/Graphics.h"
#include "skin/data/SkinData.h"

namespace skinstest {

// -1 no image, 0 fixed, 1 nine-slice, 2/3 horizontal/vertical three-slice.
int ResizeModeOf(const TspDataSkinCustomControl* C);
// The image of State (a rect of the description's picture of the skin rect's
// size) composed at W x H (clamped to the resize mode).
std::unique_ptr<TBitmap> ComposeControl(TspSkinData* D, const TspDataSkinCustomControl* C, const TRect& State,
                                        Integer W, Integer H);
// The state rects of a description (its skin rect first), with their keys.
std::vector<std::pair<const char*, TRect>> StatesOf(const TspDataSkinCustomControl* C);

// The parts the consumers compose from descriptions without corner points
// of their own class: a tab control's page frame at W x H and one of its tab
// images (TabRect, ActiveTabRect, ...) W wide; a slider's ruler Length long.
std::unique_ptr<TBitmap> ComposeTabPage(TspSkinData* D, const TspDataSkinTabControl* Tab, Integer W, Integer H);
std::unique_ptr<TBitmap> ComposeTab(TspSkinData* D, const TspDataSkinTabControl* Tab, const TRect& State, Integer W);
std::unique_ptr<TBitmap> ComposeRuler(TspSkinData* D, const TspDataSkinSlider* S, bool Horizontal, Integer Length);
// A scroll bar's thumb image (ThumbRect, ActiveThumbRect, ...) Length long.
std::unique_ptr<TBitmap> ComposeThumb(TspSkinData* D, const TspDataSkinScrollBarControl* S, const TRect& State,
                                      Integer Length);
// A piece drawn as its consumer draws it: keyed (by its bottom-left pixel,
// or by Key when given) onto a background of Face.
std::unique_ptr<TBitmap> KeyedOnto(TspSkinData* D, Integer PictureIndex, const TRect& R, TColor Face,
                                   TColor Key = clDefault);

// The form frame at W x H, Caption in the caption, active or not. Every
// pixel outside the client area comes from the skin; the client area is the
// skin's client background.
std::unique_ptr<TBitmap> ComposeFrame(TspSkinData* D, Integer W, Integer H, bool Active, const String& Caption);
// The popup-menu window with a header, items, a divider and a highlighted item.
std::unique_ptr<TBitmap> ComposePopupMenu(TspSkinData* D);
std::unique_ptr<TBitmap> ComposeHint(TspSkinData* D, const String& Text);
// A dialog laid out with the skin's controls.
std::unique_ptr<TBitmap> ComposeDialog(TspSkinData* D);

// Pixels of a colour in a bitmap.
Integer CountColor(TBitmap* B, TColor C);

}  // namespace skinstest
