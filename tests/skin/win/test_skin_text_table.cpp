// The skin engine's text tables the program carries for its two languages.
#include "common/gtest.h"

#include <vector>

#include "skin/data/SkinData.h"
#include "skin/data/win/SkinTextTable.h"

namespace {

struct Text {
  const char16_t* Name;
  const char16_t* English;
  const char16_t* Chinese;
};

// The names the program's windows ask for.
const Text Texts[] = {
    {u"MI_MINCAPTION", u"Mi&nimize", u"最小化"},
    {u"MI_MAXCAPTION", u"Ma&ximize", u"最大化"},
    {u"MI_RESTORECAPTION", u"&Restore", u"恢复窗口"},
    {u"MI_ROLLUPCAPTION", u"Ro&llUp", u"Ro&llUp"},
    {u"MI_MINTOTRAYCAPTION", u"Minimize to &Tray", u"最小化到托盘"},
    {u"MI_CLOSECAPTION", u"&Close", u"关闭"},
    {u"MINBUTTON_HINT", u"Minimize", u"最小化"},
    {u"MAXBUTTON_HINT", u"Maximize", u"最大化"},
    {u"RESTORE_HINT", u"Restore", u"恢复窗口"},
    {u"ROLLUPBUTTON_HINT", u"Roll Up", u"Roll Up"},
    {u"TRAYBUTTON_HINT", u"Minimize to Tray", u"最小化到托盘"},
    {u"MENUBUTTON_HINT", u"System menu", u"系统菜单"},
    {u"CLOSEBUTTON_HINT", u"Close", u"关闭"},
    {u"EDIT_UNDO", u"Undo", u"撤销"},
    {u"EDIT_CUT", u"Cut", u"剪切"},
    {u"EDIT_COPY", u"Copy", u"复制"},
    {u"EDIT_PASTE", u"Paste", u"粘贴"},
    {u"EDIT_DELETE", u"Delete", u"删除"},
    {u"EDIT_SELECTALL", u"Select All", u"全选"},
    {u"COLORFORM_CAP", u"Set Color", u"设置颜色"},
    {u"COLORGRID_CAP", u"Basic colors", u"基本颜色"},
    {u"CUSTOMCOLORGRID_CAP", u"Custom colors", u"自定义颜色"},
    {u"ADDCUSTOMCOLORBUTTON_CAP", u"Add to Custom Colors", u"加入到自定义"},
    {u"MSG_BTN_OK", u"OK", u"确定"},
    {u"MSG_BTN_CANCEL", u"Cancel", u"取消"},
    {u"AUTOCOLOR", u"Transparent      ", u"透 明      "},
    {u"MORECOLORS", u"More Colors...", u"更多颜色"},
    {u"PICKCOLOR", u"Select Color From Screen", u"屏幕取色"},
};

}  // namespace

TEST(SkinTextTable, BothLanguagesAnswerTheProgramsNames) {
  TspResourceStrData En(nullptr), Zh(nullptr);
  LoadSkinTextTable(&En, false);
  LoadSkinTextTable(&Zh, true);
  EXPECT_EQ(En.CharSet(), 1);
  EXPECT_EQ(Zh.CharSet(), 134);
  EXPECT_EQ(En.ResStrings()->Count(), 135);
  EXPECT_EQ(Zh.ResStrings()->Count(), 123);
  EXPECT_EQ(std::size(Texts), 28u);
  for (const Text& T : Texts) {
    EXPECT_EQ(En.GetResStr(T.Name), T.English) << ToUtf8(T.Name);
    EXPECT_EQ(Zh.GetResStr(T.Name), T.Chinese) << ToUtf8(T.Name);
  }
  // Six trailing spaces, kept whatever an editor would like to strip.
  EXPECT_EQ(En.GetResStr(u"AUTOCOLOR").size(), 17u);
  EXPECT_EQ(Zh.GetResStr(u"AUTOCOLOR").substr(3), u"      ");
  EXPECT_EQ(Zh.GetResStr(u"DBNAV_FIRST"), u"");
  EXPECT_EQ(En.GetResStr(u"DBNAV_FIRST"), u"FIRST");
}

// The Chinese table's character set makes Wine's font mapper pick a face
// that covers the Chinese texts when the controls ask for "Arial".
TEST(SkinTextTable, ChineseCharsetFindsACjkFace) {
  TspResourceStrData Zh(nullptr);
  LoadSkinTextTable(&Zh, true);
  const String Text = Zh.GetResStr(u"MI_CLOSECAPTION") + Zh.GetResStr(u"MENUBUTTON_HINT");
  ASSERT_EQ(Text.size(), 6u);
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(160, 40);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect(0, 0, 160, 40));
  C->Font()->SetName(u"Arial");
  C->Font()->SetHeight(-20);
  C->Font()->SetCharset(Zh.CharSet());
  C->Font()->SetColor(clBlack);
  C->TextOut(2, 2, Text);
  WORD Glyphs[6] = {};
  ASSERT_EQ(GetGlyphIndicesW(C->Handle(), reinterpret_cast<LPCWSTR>(Text.c_str()), 6, Glyphs,
                             GGI_MARK_NONEXISTING_GLYPHS),
            6u);
  for (WORD G : Glyphs) EXPECT_NE(G, 0xFFFF);
  // Six different characters: six different glyphs, not one box six times.
  for (int I = 0; I < 6; ++I) {
    for (int J = I + 1; J < 6; ++J) {
      if (Text[I] != Text[J]) {
        EXPECT_NE(Glyphs[I], Glyphs[J]) << I << " " << J;
      }
    }
  }
  WCHAR Face[LF_FACESIZE] = {};
  GetTextFaceW(C->Handle(), LF_FACESIZE, Face);
  RecordProperty("face", ToUtf8(String(reinterpret_cast<const Char*>(Face))));
  // Ink was drawn.
  int Dark = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 160; ++X)
      if ((C->Pixels(X, Y) & 0xFF) < 128) ++Dark;
  EXPECT_GT(Dark, 50);
}
