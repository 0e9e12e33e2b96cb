// Enumerations of the skin engine shared by the skin model, its descriptions
// and the drawing toolkit, with the value types of the class library they use.
// Portable header: no Windows header.
#pragma once

#include "classlib/UITypes.h"
#include "rtl/System.h"

// How the centre of a nine-slice image is stretched: over the whole centre,
// to the centre's height and repeated across, or to its width and repeated down.
enum TspStretchType : Byte { spstFull, spstHorz, spstVert };

// The cross-fade between two looks of a control.
enum TMorphKind : Byte { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

// The effect that renders an inactive form frame from the active one.
enum TspInActiveEffect : Byte { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };

// What a caption button does.
enum TStdCommand : Byte { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

enum TGaugeKind : Byte { gkHorizontal, gkVertical };

enum TRegulatorKind : Byte { rkRound, rkHorizontal, rkVertical };

// Equal frames of an image laid side by side or one under the other.
enum TFramesPlacement : Byte { fpHorizontal, fpVertical };
