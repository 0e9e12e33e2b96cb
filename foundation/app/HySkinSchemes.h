// The skin schemes a user can choose: the table of the four schemes, the one
// in use, their colours, and the start-up check that the chosen scheme can be
// loaded. "Dawn" is the stored skin inside the program; every other scheme is
// the file "Skin\" + its name + ".skn" beside the program.
// Portable: no Windows header (the file test runs through the platform's
// file routines).
#pragma once

#include "classlib/UITypes.h"
#include "foundation/data/HyDataTable.h"
#include "rtl/System.h"

// The scheme table: one row per scheme (cell 0 the name, cell 1 the display
// name), never saved; built by BuildSkinSchemeTable.
extern TDataTable* SkinSchemeDT;
// The scheme in use and its row, set by the main window when it loads one;
// -1 and nil before.
extern Integer SkinIndex;
extern TRow* SkinSchemeRow;

inline constexpr Integer SkinSchemeCount = 4;
// The stored scheme and the resource that holds its compressed block.
inline constexpr const Char* StoredSkinScheme = u"Dawn";
inline constexpr const Char* StoredSkinResName = u"SkinDawn";
// Property of ConfigDT that names the chosen scheme.
inline constexpr Integer ConfigPropSkinScheme = 2;

// Colours by scheme row: the header colour (section labels, caption bands)
// and the panel colour (the face of panels and group boxes: the scheme's
// cbtnface). TColor values.
extern const TColor SkinHeaderColors[SkinSchemeCount];
extern const TColor SkinPanelColors[SkinSchemeCount];

// The step of the main window's start-up: a new table with the four rows
// (Charm, Laconic, Dawn, Cool) and their display names; an empty property 2
// of ConfigDT becomes "Dawn".
void BuildSkinSchemeTable();
// ExePath + "Skin\" + Scheme + ".skn".
String SkinSchemeFileName(const String& Scheme);
// Before the skin is loaded: a property 2 other than "Dawn" (compared
// exactly) whose file does not exist becomes "Dawn". No file is looked for
// "Dawn".
void CheckSkinName();
