// Helpers of the skin scheme tests under Wine: the made schemes loaded by the
// skin model as the program loads them, their pictures as pixels, and the
// one place where pictures for reviewers are saved.
#pragma once

#include <memory>

#include "classlib/Graphics.h"
#include "skin/data/SkinData.h"
#include "tools/skingen/SkinRules.h"

namespace skinstest {

// The scheme loaded into a new model: "Dawn" from the program's resource
// (the stored skin component the main window holds), the others from their
// ".skn" file in the build tree's "Skin" folder.
std::unique_ptr<TspSkinData> LoadScheme(const std::string& Name);
String SknFile(const std::string& Name);
// The source folder's ini text.
String SourceIniFile(const std::string& Name);

skinrules::TImage ImageOf(TBitmap* Bitmap);
skinrules::TPictures PicturesOf(TspSkinData* Data);

// Saves a picture for people to review (the tests' screenshots:
// screens/test_skins/<scheme>/<name>.png). Saving never decides a test.
void SaveScreen(TBitmap* Bitmap, const std::string& Scheme, const std::string& Name);

}  // namespace skinstest
