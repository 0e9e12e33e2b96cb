// Shared enumerations of the image-file routines and the screen capture.
#pragma once

#include "rtl/System.h"

// Image-file formats; the document stores its file's format in this type.
enum TImageFormat : Byte { ifBmp, ifPng, ifJpg, ifGif, ifUnknown, ifWmf, ifEmf, ifTiff, ifIco };

// Screen-capture modes.
enum TSnapMode : Byte { smRect, smPolygon, smFixRect, smWindow, smActiveWindow, smMenu, smFullScreen, smPickColor };
