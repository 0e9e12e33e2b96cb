// The tab image routines the skinned tab controls share: every tab is drawn
// lying as a top tab and then turned or flipped for the other sides; the
// glyph and caption centred in a tab; the stretch-or-tile fill by which a
// skin background picture covers an area. Winelib only.
#pragma once

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "skin/controls/SkinTabGeometry.h"
#include "skin/data/SkinTypes.h"

// Bitmap drawn at (X, Y) of Canvas turned a quarter counter-clockwise (its
// top edge becomes the left edge); Bitmap itself is unchanged.
void DrawTabImageRotatedCCW(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y);
// The same turned clockwise (the top edge becomes the right edge).
void DrawTabImageRotatedCW(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y);
// Bitmap turned in place: width and height swap.
void RotateTabImageCCW(TBitmap* Bitmap);
void RotateTabImageCW(TBitmap* Bitmap);
// Bitmap mirrored top to bottom in place.
void FlipTabImage(TBitmap* Bitmap);
// The glyph ImageIndex of Images and the one-line caption Text centred side
// by side in a tab image of W x H, both nudged down by Offset.
void DrawTabImageAndText(TCanvas* Canvas, Integer W, Integer H, Integer Offset, bool Enabled, Integer ImageIndex,
                         TCustomImageList* Images, const String& Text);
// S covers the area (0, 0, W, H) of Canvas: stretched (whole, or in strips
// along one direction by StretchType) with StretchEffect, else tiled from
// the top-left corner. A source of zero width or height draws nothing.
void DrawStretchOrTile(TCanvas* Canvas, Integer W, Integer H, TBitmap* S, bool StretchEffect,
                       TspStretchType StretchType);
