// Every description class: a section with every key set to a distinct
// non-default value is read, written back in the class's key spelling and
// order, and read again to the same values; constructor values against the
// defaults of a missing key; the classes' own load rules.
#include "common/gtest.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "skin/data/SkinContent.h"
#include "tests/skin/data/SkinTestUtil.h"

using namespace skintest;

namespace {

// Keys as the description Parts list them: "key:kind" in reading order.
// Kinds: i integer or colour, b Boolean, s string, r rect, p point, f font
// style, l line list, w=WORD a word (the value given). "read>written" names
// a key spelled one way in the fixture and written another.
using Keys = std::vector<const char*>;

const Keys ObjectBase = {"hint:s", "rollup:b", "activepictureindex:i", "activemaskpictureindex:i",
                         "skinrectinapicture:b", "cursorindex:i", "skinrect:r", "activeskinrect:r",
                         "inactiveskinrect:r", "morphing:b", "morphkind:w=mkpush", "glowlayerpictureindex:i",
                         "glowlayermaskpictureindex:i", "glowlayeroffsetx:i", "glowlayeroffsety:i",
                         "glowlayeralphablendvalue:i"};
const Keys ButtonObject = {"downrect:r", "disableskinrsect:r", "groupindex:i", "alphamaskpictureindex:i",
                           "alphamaskactivepictureindex:i", "alphamaskinactivepictureindex:i"};
const Keys StdButtonObject = {"command:w=cmrollup", "restorerect:r", "restoreactiverect:r", "restoredownrect:r",
                              "restoreinactiverect:r", "restorehint:s"};
const Keys ControlBase = {"pictureindex:i", "maskpictureindex:i", "cursorindex:i", "skinrect:r"};
const Keys CustomRead = {"lefttoppoint:p", "righttoppoint:p", "leftbottompoint:p", "rightbottompoint:p",
                         "clientrect:r",   "leftstretch:b",   "topstretch:b",      "rightstretch:b",
                         "bottomstretch:b", "stretcheffect:b", "stretchtype:w=stvert"};
const Keys CustomWrite = {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect",
                          "stretcheffect", "leftstretch",  "topstretch",      "rightstretch",     "bottomstretch",
                          "stretchtype"};
const Keys FrameControl = {"framescount:i", "framesplacement:w=fpvertical"};
const Keys ButtonControl = {
    "fontname:s",          "fontheight:i",         "fontstyle:f",           "fontcolor:i",
    "activefontcolor:i",   "disabledfontcolor:i",  "downfontcolor:i",       "morphing:b",
    "morphkind:w=mkleftslide", "activeskinrect:r", "downskinrect:r",        "focusedskinrect:r",
    "disabledskinrect:r",  "animateskinrect:r",    "framecount:i",          "animateinterval:i",
    "showfocus:b",         "menumarkerflatrect:r", "menumarkerrect:r",      "menumarkeractiverect:r",
    "menumarkerdownrect:r", "menumarkertransparentcolor:i", "glowlayerpictureindex:i",
    "glowlayermaskpictureindex:i", "glowlayeroffsetleft:i", "glowlayeroffsettop:i", "glowlayeroffsetright:i",
    "glowlayeroffsetbottom:i", "glowlayershowoffsetx:i", "glowlayershowoffsety:i", "glowlayeralphablendvalue:i"};
const Keys ButtonControlWrite = {
    "fontname",          "fontheight",         "fontstyle",           "fontcolor",
    "activefontcolor",   "downfontcolor",      "disabledfontcolor",   "morphing",
    "morphkind",         "activeskinrect",     "downskinrect",        "focusedskinrect",
    "disabledskinrect",  "animateskinrect",    "framecount",          "animateinterval",
    "showfocus",         "menumarkerflatrect", "menumarkerrect",      "menumarkeractiverect",
    "menumarkerdownrect", "menumarkertransparentcolor", "glowlayerpictureindex", "glowlayermaskpictureindex",
    "glowlayeroffsetleft", "glowlayeroffsetright", "glowlayeroffsettop", "glowlayeroffsetbottom",
    "glowlayershowoffsetx", "glowlayershowoffsety", "glowlayeralphablendvalue"};
const Keys EditControl = {"activeskinrect:r", "fontname:s",   "fontheight:i",       "fontstyle:f",
                          "fontcolor:i",      "disabledfontcolor:i", "activefontcolor:i", "buttonrect:r",
                          "activebuttonrect:r", "downbuttonrect:r", "unenabledbuttonrect:r"};
const Keys EditControlWrite = {"activeskinrect", "fontname",   "fontheight",     "fontstyle",
                               "fontcolor",      "activefontcolor", "disabledfontcolor", "buttonrect",
                               "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"};
const Keys ListBox = {"itemrect:r",         "activeitemrect:r",      "focusitemrect:r",       "itemleftoffset:i",
                      "itemrightoffset:i",  "itemtextrect:r",        "fontname:s",            "fontheight:i",
                      "fontstyle:f",        "fontcolor:i",           "activefontcolor:i",     "focusfontcolor:i",
                      "captionrect:r",      "captionfontname:s",     "captionfontheight:i",   "captionfontstyle:f",
                      "captionfontcolor:i", "upbuttonrect:r",        "activeupbuttonrect:r",  "downupbuttonrect:r",
                      "downbuttonrect:r",   "activedownbuttonrect:r", "downdownbuttonrect:r", "checkbuttonrect:r",
                      "activecheckbuttonrect:r", "downcheckbuttonrect:r", "vscrollbarname:s", "hscrollbarname:s",
                      "bothhscrollbarname:s", "showfocus:b",          "disabledbuttonsrect:r", "buttonsarea:r"};
const Keys UpDownKeys = {"upbuttonrect:r",   "activeupbuttonrect:r",   "downupbuttonrect:r",
                         "downbuttonrect:r", "activedownbuttonrect:r", "downdownbuttonrect:r"};
const Keys MainMenuItem = {"itemleftoffset:i", "itemrightoffset:i", "downrect:r",       "textrect:r",
                           "fontname:s",       "fontheight:i",      "fontstyle:f",      "fontcolor:i",
                           "activefontcolor:i", "downfontcolor:i",  "unenabledfontColor:i", "stretcheffect:b",
                           "animateskinrect:r", "framecount:i",     "animateinterval:i", "inactiveanimation:b"};
const Keys MenuItem = {"itemleftoffset:i",  "itemrightoffset:i",     "dividerrect:r",       "dividerleftoffset:i",
                       "dividerrightoffset:i", "textrect:r",         "imagerect:r",         "fontname:s",
                       "fontheight:i",      "fontstyle:f",           "fontcolor:i",         "activefontcolor:i",
                       "unenabledfontcolor:i", "stretcheffect:b",    "inactivestretcheffect:b",
                       "dividerstretcheffect:b", "animateskinrect:r", "framecount:i",       "animateinterval:i",
                       "inactiveanimation:b", "useimagecolor:b",     "imagecolor:i",        "activeimagecolor:i",
                       "inactivetransparent:b", "checkimagerect:r",  "activecheckimagerect:r", "radioimagerect:r",
                       "activeradioimagerect:r", "arrowimagerect:r", "activearrowimagerect:r"};
const Keys Caption = {"defaultcaption:b",  "textrect:r",          "fontname:s",          "fontheight:i",
                      "fontstyle:f",       "fontcolor:i",         "activefontcolor:i",   "alignment:w=taleftjustify",
                      "shadow:b",          "shadowcolor:i",       "light:b",             "lightcolor:i",
                      "activelightcolor:i", "activeshadowcolor:i", "framerect:r",        "activeframerect:r",
                      "frametextrect:r",   "frameleftoffset:i",   "framerightoffset:i",  "stretcheffect:b",
                      "animateskinrect:r", "framecount:i",        "animateinterval:i",   "inactiveanimation:b",
                      "fullframe:b",       "vistagloweffect:b",   "vistaglowinactiveeffect:b", "gloweffect:b",
                      "glowinactiveeffect:b", "glowsize:i",       "glowcolor:i",         "glowactivecolor:i",
                      "glowoffset:i",      "reflectioneffect:b",  "reflactioncolor:i",   "reflactionactivecolor:i",
                      "reflectionoffset:i", "dividerrect:r",      "inactivedividerrect:r", "dividertransparent:b",
                      "dividertransparentcolor:i", "quickbuttonalphamaskpictureindex:i"};
const Keys CaptionWrite = {"defaultcaption",  "textrect",   "fontname",         "fontheight",
                           "fontstyle",       "fontcolor",  "activefontcolor",  "alignment",
                           "light",           "lightcolor", "activelightcolor", "shadow",
                           "shadowcolor",     "activeshadowcolor", "framerect", "activeframerect",
                           "frametextrect",   "frameleftoffset", "framerightoffset", "stretcheffect",
                           "animateskinrect", "framecount", "animateinterval",  "inactiveanimation",
                           "fullframe",       "vistagloweffect", "vistaglowinactiveeffect", "gloweffect",
                           "glowinactiveeffect", "glowsize", "glowcolor",       "glowactivecolor",
                           "glowoffset",      "reflectioneffect", "reflactioncolor", "reflactionactivecolor",
                           "reflectionoffset", "dividerrect", "inactivedividerrect", "dividertransparent",
                           "dividertransparentcolor", "quickbuttonalphamaskpictureindex"};

Keys Cat(std::initializer_list<Keys> Parts) {
  Keys R;
  for (const Keys& P : Parts) R.insert(R.end(), P.begin(), P.end());
  return R;
}

// One class: its type word, keys in reading order, keys in writing order
// (empty: the reading order) and keys written as 0 whatever they read.
struct ClassCase {
  bool Control;
  const char16_t* Word;
  Keys Read;
  Keys Write;
  Keys Zeroed;
};

std::vector<ClassCase> Classes() {
  const Keys Obj = ObjectBase, Ctl = ControlBase;
  const Keys CustomW = Cat({Ctl, CustomWrite});
  const Keys CustomR = Cat({Ctl, CustomRead});
  const Keys Anim = {"countframes:i", "cycle:b", "buttonstyle:b", "timerinterval:i", "command:w=cmclose",
                     "downskinrect:r", "restorerect:r", "restoreactiverect:r", "restoredownrect:r",
                     "restoreinactiverect:r", "restorehint:s"};
  std::vector<ClassCase> Cases{
      // [SKINOBJECTS]
      {false, u"button", Cat({Obj, ButtonObject}), {}, {}},
      {false, u"stdbutton", Cat({Obj, ButtonObject, StdButtonObject}), {}, {}},
      {false, u"mainmenubarbutton", Cat({Obj, ButtonObject, StdButtonObject}), {}, {}},
      {false, u"animate", Cat({Obj, Anim}), {}, {"morphing"}},
      {false, u"switch", Obj, {}, {}},
      {false, u"userobject", {"rollup:b", "skinrect:r", "cursorindex:i"}, {}, {}},
      {false, u"label", Cat({Obj, {"fontName>fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "activefontcolor:i",
                                   "alignment:w=taleftjustify", "textvalue:s"}}),
       {}, {}},
      {false, u"bitlabel", Cat({Obj, {"textvalue:s", "symbolwidth:i", "symbolheight:i", "symbols:l",
                                      "transparent:b", "transparentcolor:i"}}),
       {}, {"morphing"}},
      {false, u"caption", Cat({Obj, Caption}), Cat({Obj, CaptionWrite}), {}},
      {false, u"menuitem", Cat({Obj, MenuItem}), {}, {}},
      {false, u"mainmenuitem", Cat({Obj, MainMenuItem}), {}, {}},
      {false, u"mainmenubaritem", Cat({Obj, MainMenuItem}), {}, {}},
      {false, u"trackbar", Cat({Obj, {"buttonrect:r", "activebuttonrect:r", "beginpoint:p", "endpoint:p",
                                      "minvalue:i", "maxvalue:i", "mousedownchangevalue:b", "buttontransparent:b",
                                      "buttontransparentcolor:i"}}),
       {}, {"morphing"}},
      {false, u"gauge", Cat({Obj, {"minvalue:i", "maxvalue:i", "kind:w=gkvertical"}}), {}, {}},
      {false, u"framegauge", Cat({Obj, {"minvalue:i", "maxvalue:i", "countframes:i", "framesplacement:w=fpvertical"}}),
       {}, {}},
      {false, u"frameregulator",
       Cat({Obj, {"minvalue:i", "maxvalue:i", "countframes:i", "framesplacement:w=fpvertical", "kind:w=rkhorizontal"}}),
       {}, {}},
      // [SKINCONTROLS]
      {true, u"button", Cat({CustomR, ButtonControl}), Cat({CustomW, ButtonControlWrite}), {}},
      {true, u"menubutton", Cat({CustomR, ButtonControl, {"trackbuttonrect:r"}}),
       Cat({CustomW, ButtonControlWrite, {"trackbuttonrect"}}), {}},
      {true, u"checkradio",
       Cat({CustomR,
            {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "activefontcolor:i", "unenabledfontcolor:i",
             "framefontcolor:i", "morphing:b", "morphkind:w=mkgradient", "activeskinrect:r", "checkimagearea:r",
             "textarea:r", "checkimagerect:r", "uncheckimagerect:r", "activecheckimagerect:r",
             "activeuncheckimagerect:r", "unenabledcheckimagerect:r", "unenableduncheckimagerect:r",
             "grayedcheckimagerect:r", "activegrayedcheckimagerect:r"}}),
       {}, {}},
      {true, u"panel",
       Cat({CustomR,
            {"bgpictureindex:i", "captionrect:r", "alignment:w=taleftjustify", "fontname:s", "fontheight:i",
             "fontstyle:f", "fontcolor:i", "checkimagerect:r", "uncheckimagerect:r", "markframerect:r", "framerect:r",
             "frametextrect:r", "frameleftoffset:i", "framerightoffset:i", "gripperrect:r", "grippertransparent:b",
             "grippertransparentcolor:i"}}),
       {}, {}},
      {true, u"expanel",
       Cat({CustomR,
            {"rollhskinrect:r", "rollvskinrect:r", "rollleftoffset:i", "rollrightoffset:i", "rolltopoffset:i",
             "rollbottomoffset:i", "rollvcaptionrect:r", "rollhcaptionrect:r", "closebuttonrect:r",
             "closebuttonactiverect:r", "closebuttondownrect:r", "hrollbuttonrect:r", "hrollbuttonactiverect:r",
             "hrollbuttondownrect:r", "hrestorebuttonrect:r", "hrestorebuttonactiverect:r",
             "hrestorebuttondownrect:r", "vrollbuttonrect:r", "vrollbuttonactiverect:r", "vrollbuttondownrect:r",
             "vrestorebuttonrect:r", "vrestorebuttonactiverect:r", "vrestorebuttondownrect:r", "captionrect:r",
             "fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "buttonstransparent:b",
             "buttonstransparentcolor:i"}}),
       {}, {}},
      {true, u"scrollbar",
       Cat({CustomR,
            {"trackarea:r", "upbuttonrect:r", "activeupbuttonrect:r", "downupbuttonrect:r", "downbuttonrect:r",
             "activedownbuttonrect:r", "downdownbuttonrect:r", "thumbrect:r", "activethumbrect:r", "downthumbrect:r",
             "thumboffset1:i", "thumboffset2:i", "thumbtransparent:b", "thumbtransparentcolor:i",
             "thumbstretcheffect:b", "thumbminsize:i", "thumbminpagesize:i", "glyphrect:r", "activeglyphrect:r",
             "downglyphrect:r", "glyphtransparent:b", "glyphtransparentcolor:i"}}),
       {}, {}},
      {true, u"trackbar",
       Cat({CustomR, {"activeskinrect:r", "trackarea:r", "buttonrect:r", "activebuttonrect:r", "vertical:b",
                      "buttontransparent:b", "buttontransparentcolor:i"}}),
       {}, {}},
      {true, u"slider",
       Cat({Ctl, {"bgcolor:i", "hrulerrect:r", "hthumbrect:r", "vrulerrect:r", "vthumbrect:r", "edgesize:i",
                  "pointscolor:i"}}),
       {}, {}},
      {true, u"gauge",
       Cat({CustomR,
            {"progressarea:r", "progressrect:r", "beginoffset:i", "endoffset:i", "vertical:b", "fontname:s",
             "fontheight:i", "fontstyle:f", "fontcolor:i", "progresstransparent:b", "progresstransparentcolor:i",
             "progressstretch:b", "animationskinrect:r", "animationcountframes:i", "animationtimerinterval:i",
             "progressanimationskinrect:r", "progressanimationcountframes:i", "progressanimationtimerinterval:i",
             "animationbeginoffset:i", "animationendoffset:i"}}),
       {}, {}},
      {true, u"splitter", Cat({CustomR, {"gripperrect:r", "grippertransparent:b", "grippertransparentcolor:i"}}), {},
       {}},
      {true, u"bevel", Cat({Ctl, {"lightcolor:i", "darkcolor:i"}}), {}, {}},
      {true, u"updown", Cat({CustomR, UpDownKeys}), {}, {}},
      {true, u"framegauge", Cat({Ctl, FrameControl}), {}, {}},
      {true, u"animate", Cat({Ctl, FrameControl}), {}, {}},
      {true, u"switch", Cat({Ctl, FrameControl}), {}, {}},
      {true, u"frameregulator", Cat({Ctl, FrameControl, {"kind:w=rkhorizontal"}}), {}, {}},
      {true, u"edit", Cat({CustomR, EditControl}), Cat({CustomW, EditControlWrite}), {}},
      {true, u"memo", Cat({CustomR, EditControl, {"bgcolor:i", "activebgcolor:i"}}),
       Cat({CustomW, EditControlWrite, {"bgcolor", "activebgcolor"}}), {}},
      {true, u"spinedit",
       Cat({CustomR, {"activeskinrect:r", "fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i",
                      "activefontcolor:i", "disabledfontcolor:i"},
            UpDownKeys}),
       {}, {}},
      {true, u"listbox", Cat({CustomR, ListBox}), {}, {}},
      {true, u"checklistbox", Cat({CustomR, ListBox, {"checkimagerect:r", "itemcheckrect:r", "uncheckimagerect:r"}}),
       Cat({CustomW, ListBox, {"itemcheckrect", "uncheckimagerect", "checkimagerect"}}), {}},
      {true, u"combobox",
       Cat({CustomR,
            {"activeskinrect:r", "itemrect:r", "activeitemrect:r", "focusitemrect:r", "itemleftoffset:i",
             "itemrightoffset:i", "itemtextrect:r", "fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i",
             "focusfontcolor:i", "activefontcolor:i", "listboxname:s", "buttonrect:r", "activebuttonrect:r",
             "downbuttonrect:r", "unenabledbuttonrect:r", "itemstretcheffect:b", "focusitemstretcheffect:b",
             "showfocus:b"}}),
       Cat({CustomW,
            {"activeskinrect", "itemrect", "activeitemrect", "focusitemrect", "itemleftoffset", "itemrightoffset",
             "itemtextrect", "fontname", "fontheight", "fontstyle", "fontcolor", "focusfontcolor", "activefontcolor",
             "buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect", "listboxname",
             "itemstretcheffect", "focusitemstretcheffect", "showfocus"}}),
       {}},
      {true, u"scrollbox", Cat({CustomR, {"bgpictureindex:i"}}), {}, {}},
      {true, u"richedit", Cat({Ctl, {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "bgcolor:i"}}), {},
       {}},
      {true, u"tab",
       Cat({Ctl,
            {"tabrect:r", "activetabrect:r", "focustabrect:r", "mouseintabrect:r", "clientrect:r",
             "bgpictureindex:i", "lefttoppoint:p", "righttoppoint:p", "leftbottompoint:p", "rightbottompoint:p",
             "tableftoffset:i", "tabrightoffset:i", "tabsbgrect:r", "tabstretcheffect:b", "leftstretch:b",
             "topstretch:b", "rightstretch:b", "bottomstretch:b", "stretcheffect:b", "stretchtype:w=sthorz",
             "fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "activefontcolor:i", "focusfontcolor:i",
             "mouseinfontcolor:i", "updown:s", "showfocus:b", "focusoffsetx:i", "focusoffsety:i",
             "closebuttonrect:r", "closebuttonactiverect:r", "closebuttondownrect:r", "buttontransparent:b",
             "buttontransparentcolor:i", "tableftbottomactiverect:r", "tableftbottomfocusrect:r"}}),
       {}, {}},
      {true, u"grid",
       Cat({Ctl,
            {"fixedcellrect:r", "selectcellrect:r", "focuscellrect:r", "fixedcellleftoffset:i",
             "fixedcellrightoffset:i", "fixedcelltextrect:r", "cellleftoffset:i", "cellrightoffset:i",
             "celltextrect:r", "linescolor:i", "bgcolor:i", "bgpictureindex:i", "fontname:s", "fontheight:i",
             "fontstyle:f", "fontcolor:i", "selectfontcolor:i", "focusfontcolor:i", "fixedfontname:s",
             "fixedfontheight:i", "fixedfontstyle:f", "fixedfontcolor:i", "cellstretcheffect:b",
             "fixedcellstretcheffect:b", "showfocus:b"}}),
       {}, {}},
      {true, u"treeview",
       Cat({Ctl, {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "bgcolor:i", "expandimagerect:r",
                  "noexpandimagerect:r"}}),
       {}, {}},
      {true, u"listview", Cat({Ctl, {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "bgcolor:i"}}), {},
       {}},
      {true, u"mainmenubar",
       Cat({Ctl, {"itemsrect:r", "menubaritem:s", "closebutton:s", "minbutton:s", "maxbutton:s", "sysmenubutton:s",
                  "trackmarkcolor:i", "trackmarkactivecolor:i", "stretcheffect:b", "itemtransparent:b"}}),
       {}, {}},
      {true, u"controlbar",
       Cat({CustomR, {"itemrect:r", "bgpictureindex:i", "hgriprect:r", "vgriprect:r", "gripoffset1:i",
                      "gripoffset2:i", "itemstretcheffect:b", "itemoffset1:i", "itemoffset2:i", "itemtransparent:b",
                      "itemtransparentcolor:i", "griptransparent:b", "griptransparentcolor:i"}}),
       Cat({CustomW, {"itemrect", "bgpictureindex", "hgriprect", "vgriprect", "gripoffset1", "gripoffset2",
                      "itemoffset1", "itemoffset2", "itemstretcheffect", "itemtransparent", "itemtransparentcolor",
                      "griptransparent", "griptransparentcolor"}}),
       {}},
      {true, u"stdlabel",
       Cat({Ctl, {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "activefontcolor:i"}}), {}, {}},
      {true, u"label", Cat({CustomR, {"fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i"}}), {}, {}},
      {true, u"bitlabel", Cat({CustomR, {"skintextrect:r", "symbolwidth:i", "symbolheight:i", "symbols:l"}}), {}, {}},
  };
  // The stretchable base writes "stretcheffect" after "clientrect"; the
  // rest of such a class is written in reading order unless listed.
  for (ClassCase& C : Cases) {
    if (!C.Write.empty() || C.Read.size() < CustomR.size() ||
        !std::equal(CustomR.begin(), CustomR.end(), C.Read.begin()))
      continue;
    C.Write = CustomW;
    C.Write.insert(C.Write.end(), C.Read.begin() + CustomR.size(), C.Read.end());
  }
  return Cases;
}

// The section text for the keys, each with a value of its own, and the
// lines each key is expected to be written as.
struct Fixture {
  String Text;
  std::map<String, std::vector<String>> Lines;  // written key name -> its lines
};

Fixture MakeFixture(const String& Section, const Keys& K) {
  Fixture F;
  F.Text = u"[" + Section + u"]\n";
  int N = 1;
  for (const char* Spec : K) {
    const String S = ToString(Spec);
    const size_t Colon = S.find(u':');
    const String Names = S.substr(0, Colon), Kind = S.substr(Colon + 1);
    const size_t Arrow = Names.find(u'>');
    const String Key = Names.substr(0, Arrow);
    const String Written = Arrow == String::npos ? Key : Names.substr(Arrow + 1);
    std::vector<String> Out;
    const String I = IntToStr(N);
    if (Kind == u"i") Out.push_back(Key + u"=" + IntToStr(1000 + N));
    else if (Kind == u"b") Out.push_back(Key + u"=1");
    else if (Kind == u"s") Out.push_back(Key + u"=text " + I);
    else if (Kind == u"r") Out.push_back(Key + u"=" + I + u"," + IntToStr(N + 1) + u"," + IntToStr(N + 2) + u"," + IntToStr(N + 3));
    else if (Kind == u"p") Out.push_back(Key + u"=" + I + u"," + IntToStr(N + 1));
    else if (Kind == u"f") Out.push_back(Key + u"=fsbold,fsitalic");
    else if (Kind == u"l") Out = {Key + u"linecount=2", Key + u"line0=AB" + I, Key + u"line1=CD" + I};
    else if (Kind.substr(0, 2) == u"w=") Out.push_back(Key + u"=" + Kind.substr(2));
    for (String& L : Out) {
      F.Text += L + u"\n";
      if (L.compare(0, Key.size(), Key) == 0) L = Written + L.substr(Key.size());
    }
    F.Lines[Written] = Out;
    ++N;
  }
  F.Text += u"foreignkey=5\n";
  return F;
}

std::vector<String> Expected(const Fixture& F, const ClassCase& C) {
  std::vector<String> R;
  const Keys& Order = C.Write.empty() ? C.Read : C.Write;
  for (const char* Spec : Order) {
    String Key = ToString(Spec);
    Key = Key.substr(0, Key.find(u':'));
    if (Key.find(u'>') != String::npos) Key = Key.substr(Key.find(u'>') + 1);
    for (String L : F.Lines.at(Key)) {
      for (const char* Z : C.Zeroed)
        if (Key == ToString(Z)) L = Key + u"=0";
      R.push_back(L);
    }
  }
  return R;
}

struct Loaded {
  std::unique_ptr<TObject> Obj;
  std::function<void(TCustomIniFile*)> Load, Save;
};

Loaded Create(bool Control, const String& Word, const String& Name) {
  Loaded L;
  if (Control) {
    TspDataSkinControl* D = CreateSkinControl(Word, Name);
    L.Obj.reset(D);
    if (D) {
      L.Load = [D](TCustomIniFile* F) { D->LoadFromFile(F); };
      L.Save = [D](TCustomIniFile* F) { D->SaveToFile(F); };
    }
  } else {
    TspDataSkinObject* D = CreateSkinObject(Word, Name);
    L.Obj.reset(D);
    if (D) {
      L.Load = [D](TCustomIniFile* F) { D->LoadFromFile(F); };
      L.Save = [D](TCustomIniFile* F) { D->SaveToFile(F); };
    }
  }
  return L;
}

}  // namespace

TEST(SkinDescriptions, EveryClassRoundTripsInItsKeySpellingAndOrder) {
  for (const ClassCase& C : Classes()) {
    SCOPED_TRACE(std::string(C.Control ? "control " : "object ") + ToUtf8(C.Word));
    const String Name = u"sec_" + String(C.Word);
    Fixture F = MakeFixture(Name, C.Read);
    auto In = Ini(F.Text);
    Loaded D = Create(C.Control, C.Word, Name);
    ASSERT_TRUE(D.Obj);
    D.Load(In.get());
    TMemIniFile Out;
    D.Save(&Out);
    EXPECT_EQ(Section(&Out, Name), Expected(F, C));
    // Read back, the description writes the same text again.
    Loaded Again = Create(C.Control, C.Word, Name);
    Again.Load(&Out);
    TMemIniFile Out2;
    Again.Save(&Out2);
    EXPECT_EQ(Text(&Out2), Text(&Out));
    // Saving over a section replaces it whole.
    D.Save(In.get());
    EXPECT_EQ(Section(In.get(), Name), Section(&Out, Name));
  }
}

namespace {

// One field whose value after construction differs from (or must be checked
// against) its value after reading a section that lacks the key.
struct DefaultCase {
  bool Control;
  const char16_t* Word;
  const char* Field;
  std::function<String(TObject*)> Get;
  String AfterCreate;
  String Missing;
};

template <class T>
std::function<String(TObject*)> IntField(Integer T::*M) {
  return [M](TObject* O) { return IntToStr(dynamic_cast<T*>(O)->*M); };
}
template <class T>
std::function<String(TObject*)> StrField(String T::*M) {
  return [M](TObject* O) { return dynamic_cast<T*>(O)->*M; };
}

}  // namespace

TEST(SkinDescriptions, ConstructorValuesAgainstMissingKeys) {
  using BC = TspDataSkinButtonControl;
  const DefaultCase Cases[] = {
      {true, u"button", "FontHeight", IntField<BC>(&BC::FontHeight), u"12", u"14"},
      {true, u"menubutton", "FontHeight", IntField<BC>(&BC::FontHeight), u"12", u"14"},
      {true, u"button", "FontName", StrField<BC>(&BC::FontName), u"Arial", u"Arial"},
      {true, u"button", "AnimateInterval", IntField<BC>(&BC::AnimateInterval), u"0", u"25"},
      {true, u"button", "GlowLayerAlphaBlendValue", IntField<BC>(&BC::GlowLayerAlphaBlendValue), u"255", u"255"},
      {true, u"button", "GlowLayerPictureIndex", IntField<BC>(&BC::GlowLayerPictureIndex), u"-1", u"-1"},
      {true, u"checkradio", "FontHeight", IntField(&TspDataSkinCheckRadioControl::FontHeight), u"12", u"14"},
      {true, u"panel", "FontHeight", IntField(&TspDataSkinPanelControl::FontHeight), u"12", u"14"},
      {true, u"panel", "Alignment", [](TObject* O) { return IntToStr(dynamic_cast<TspDataSkinPanelControl*>(O)->Alignment); },
       IntToStr(taCenter), IntToStr(taCenter)},
      {true, u"panel", "GripperTransparentColor", IntField(&TspDataSkinPanelControl::GripperTransparentColor),
       u"16711935", u"0"},
      {true, u"expanel", "FontHeight", IntField(&TspDataSkinExPanelControl::FontHeight), u"12", u"14"},
      {true, u"expanel", "ButtonsTransparentColor", IntField(&TspDataSkinExPanelControl::ButtonsTransparentColor),
       u"16711935", u"0"},
      {true, u"edit", "FontHeight", IntField(&TspDataSkinEditControl::FontHeight), u"12", u"14"},
      {true, u"memo", "FontHeight", IntField(&TspDataSkinEditControl::FontHeight), u"12", u"14"},
      {true, u"spinedit", "FontHeight", IntField(&TspDataSkinSpinEditControl::FontHeight), u"12", u"14"},
      {true, u"stdlabel", "FontHeight", IntField(&TspDataSkinStdLabelControl::FontHeight), u"12", u"14"},
      {true, u"stdlabel", "ActiveFontColor", IntField(&TspDataSkinStdLabelControl::ActiveFontColor), u"16711680",
       u"16711680"},
      {true, u"label", "FontHeight", IntField(&TspDataSkinLabelControl::FontHeight), u"12", u"14"},
      {true, u"listbox", "FontHeight", IntField(&TspDataSkinListBox::FontHeight), u"14", u"14"},
      {true, u"listbox", "CaptionFontHeight", IntField(&TspDataSkinListBox::CaptionFontHeight), u"14", u"14"},
      {true, u"listbox", "VScrollBarName", StrField(&TspDataSkinListBox::VScrollBarName), u"", u"vscrollbar"},
      {true, u"listbox", "HScrollBarName", StrField(&TspDataSkinListBox::HScrollBarName), u"", u"hscrollbar"},
      {true, u"listbox", "BothScrollBarName", StrField(&TspDataSkinListBox::BothScrollBarName), u"",
       u"bothhscrollbar"},
      {true, u"combobox", "FontHeight", IntField(&TspDataSkinComboBox::FontHeight), u"14", u"14"},
      {true, u"combobox", "ListBoxName", StrField(&TspDataSkinComboBox::ListBoxName), u"", u""},
      {true, u"tab", "FontHeight", IntField(&TspDataSkinTabControl::FontHeight), u"14", u"14"},
      {true, u"tab", "BGPictureIndex", IntField(&TspDataSkinTabControl::BGPictureIndex), u"-1", u"-1"},
      {true, u"tab", "ButtonTransparentColor", IntField(&TspDataSkinTabControl::ButtonTransparentColor), u"16711935",
       u"0"},
      {true, u"grid", "FixedFontHeight", IntField(&TspDataSkinGridControl::FixedFontHeight), u"14", u"14"},
      {true, u"grid", "BGPictureIndex", IntField(&TspDataSkinGridControl::BGPictureIndex), u"-1", u"-1"},
      {true, u"treeview", "FontHeight", IntField(&TspDataSkinTreeView::FontHeight), u"14", u"14"},
      {true, u"treeview", "BGColor", IntField(&TspDataSkinTreeView::BGColor), u"16777215", u"0"},
      {true, u"listview", "BGColor", IntField(&TspDataSkinListView::BGColor), u"16777215", u"0"},
      {true, u"richedit", "BGColor", IntField(&TspDataSkinRichEdit::BGColor), u"16777215", u"0"},
      {true, u"richedit", "FontHeight", IntField(&TspDataSkinRichEdit::FontHeight), u"14", u"14"},
      {true, u"gauge", "FontHeight", IntField(&TspDataSkinGaugeControl::FontHeight), u"14", u"14"},
      {true, u"gauge", "ProgressTransparentColor", IntField(&TspDataSkinGaugeControl::ProgressTransparentColor),
       u"16711935", u"0"},
      {true, u"scrollbar", "ThumbTransparentColor", IntField(&TspDataSkinScrollBarControl::ThumbTransparentColor),
       u"16711935", u"0"},
      {true, u"scrollbar", "GlyphTransparentColor", IntField(&TspDataSkinScrollBarControl::GlyphTransparentColor),
       u"16711935", u"0"},
      {true, u"trackbar", "ButtonTransparentColor", IntField(&TspDataSkinTrackBarControl::ButtonTransparentColor),
       u"16711935", u"0"},
      {true, u"splitter", "GripperTransparentColor", IntField(&TspDataSkinSplitterControl::GripperTransparentColor),
       u"16711935", u"0"},
      {true, u"scrollbox", "BGPictureIndex", IntField(&TspDataSkinScrollBoxControl::BGPictureIndex), u"-1", u"-1"},
      {true, u"controlbar", "BGPictureIndex", IntField(&TspDataSkinControlBar::BGPictureIndex), u"-1", u"-1"},
      {true, u"controlbar", "ItemOffset1", IntField(&TspDataSkinControlBar::ItemOffset1), u"0", u"3"},
      {true, u"framegauge", "FramesCount", IntField(&TspDataSkinFrameControl::FramesCount), u"1", u"1"},
      {true, u"button", "PictureIndex", IntField(&TspDataSkinControl::PictureIndex), u"-1", u"-1"},
      {true, u"button", "CursorIndex", IntField(&TspDataSkinControl::CursorIndex), u"-1", u"-1"},
      // frame objects: their own fields start empty, the defaults come with a load
      {false, u"caption", "FontHeight", IntField(&TspDataSkinCaption::FontHeight), u"0", u"14"},
      {false, u"caption", "FontName", StrField(&TspDataSkinCaption::FontName), u"", u"Arial"},
      {false, u"caption", "AnimateInterval", IntField(&TspDataSkinCaption::AnimateInterval), u"0", u"25"},
      {false, u"caption", "GlowSize", IntField(&TspDataSkinCaption::GlowSize), u"0", u"3"},
      {false, u"caption", "QuickButtonAlphaMaskPictureIndex",
       IntField(&TspDataSkinCaption::QuickButtonAlphaMaskPictureIndex), u"0", u"-1"},
      {false, u"menuitem", "AnimateInterval", IntField(&TspDataSkinMenuItem::AnimateInterval), u"0", u"25"},
      {false, u"mainmenuitem", "AnimateInterval", IntField(&TspDataSkinMainMenuItem::AnimateInterval), u"0", u"25"},
      {false, u"label", "FontName", StrField(&TspDataSkinLabel::FontName), u"", u"Arial"},
      {false, u"bitlabel", "TransparentColor", IntField(&TspDataSkinBitLabel::TransparentColor), u"16711935",
       u"16711935"},
      {false, u"animate", "CountFrames", IntField(&TspDataSkinAnimate::CountFrames), u"0", u"1"},
      {false, u"animate", "TimerInterval", IntField(&TspDataSkinAnimate::TimerInterval), u"0", u"50"},
      {false, u"animate", "Command", [](TObject* O) { return IntToStr(dynamic_cast<TspDataSkinAnimate*>(O)->Command); },
       IntToStr(cmClose), IntToStr(cmDefault)},
      {false, u"stdbutton", "Command",
       [](TObject* O) { return IntToStr(dynamic_cast<TspDataSkinStdButton*>(O)->Command); }, IntToStr(cmClose),
       IntToStr(cmDefault)},
      {false, u"button", "GroupIndex", IntField(&TspDataSkinButton::GroupIndex), u"-1", u"-1"},
      {false, u"button", "GlowLayerAlphaBlendValue", IntField(&TspDataSkinObject::GlowLayerAlphaBlendValue), u"255",
       u"255"},
      {false, u"button", "GlowLayerPictureIndex", IntField(&TspDataSkinObject::GlowLayerPictureIndex), u"-1", u"-1"},
  };
  auto Empty = Ini(u"[other]\nx=1\n");
  for (const DefaultCase& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Word) + "." + C.Field);
    Loaded D = Create(C.Control, C.Word, u"absent");
    ASSERT_TRUE(D.Obj);
    EXPECT_EQ(C.Get(D.Obj.get()), C.AfterCreate);
    D.Load(Empty.get());
    EXPECT_EQ(C.Get(D.Obj.get()), C.Missing);
  }
}

TEST(SkinDescriptions, ObjectLoadRules) {
  auto F = Ini(
      u"[close]\nhint=Close\ncommand=cmclose\n"
      u"[max]\nhint=Maximize\ncommand=cmmaximize\n"
      u"[maxlower]\nhint=maximize\ncommand=cmmaximize\n"
      u"[min]\nhint=Minimize\ncommand=cmminimize\n"
      u"[roll]\nhint=Roll Up\ncommand=cmrollup\n"
      u"[rollgiven]\nhint=RollUp\ncommand=cmrollup\nrestorehint=Down\n"
      u"[closeword]\ncommand=close\n"
      u"[typo]\ndisableskinrect=1,2,3,4\n"
      u"[anim]\nmorphing=1\nhint=Maximize\ncommand=cmmaximize\n"
      u"[user]\nhint=h\nactiveskinrect=1,2,3,4\nrollup=1\nskinrect=5,6,7,8\ncursorindex=3\n"
      u"[item]\ncheckimagerect=1,2,3,4\nradioimagerect=5,6,7,8\nactiveradioimagerect=0,0,0,0\n"
      u"arrowimagerect=1,1,2,2\nactivearrowimagerect=9,9,12,12\n"
      u"[bits]\nmorphing=1\nsymbolslinecount=1\nsymbolsline0=0123\n"
      u"[track]\nmorphing=1\n"
      u"[gauge]\nmorphing=1\nkind=horizontal\n"
      u"[regulator]\nkind=RKROUND\n");
  auto Std = [&](const String& Name) {
    auto B = std::make_unique<TspDataSkinStdButton>(Name);
    B->LoadFromFile(F.get());
    return B;
  };
  EXPECT_EQ(Std(u"close")->RestoreHint, u"");
  EXPECT_EQ(Std(u"max")->RestoreHint, u"Restore");
  EXPECT_EQ(Std(u"maxlower")->RestoreHint, u"");
  EXPECT_EQ(Std(u"min")->RestoreHint, u"Restore");
  EXPECT_EQ(Std(u"roll")->RestoreHint, u"Restore");
  EXPECT_EQ(Std(u"rollgiven")->RestoreHint, u"Down");
  EXPECT_EQ(Std(u"closeword")->Command, cmMinimizeToTray);
  EXPECT_EQ(Std(u"typo")->DisableSkinRect, TRect());

  TspDataSkinAnimate A(u"anim");
  A.LoadFromFile(F.get());
  EXPECT_FALSE(A.Morphing);
  EXPECT_EQ(A.RestoreHint, u"Restore");

  TspDataUserObject U(u"user");
  U.LoadFromFile(F.get());
  EXPECT_EQ(U.Hint, u"");
  EXPECT_EQ(U.ActiveSkinRect, TRect());
  EXPECT_TRUE(U.RollUp);
  EXPECT_EQ(U.SkinRect, TRect(5, 6, 7, 8));
  EXPECT_EQ(U.CursorIndex, 3);
  EXPECT_EQ(U.ActivePictureIndex, -1);
  TMemIniFile UOut;
  U.SaveToFile(&UOut);
  EXPECT_EQ(Section(&UOut, u"user"), (std::vector<String>{u"rollup=1", u"skinrect=5,6,7,8", u"cursorindex=3"}));

  TspDataSkinMenuItem M(u"item");
  M.LoadFromFile(F.get());
  EXPECT_EQ(M.ActiveCheckImageRect, TRect(1, 2, 3, 4));
  EXPECT_EQ(M.ActiveRadioImageRect, TRect(5, 6, 7, 8));
  EXPECT_EQ(M.ActiveArrowImageRect, TRect(9, 9, 12, 12));

  TspDataSkinBitLabel B(u"bits");
  B.LoadFromFile(F.get());
  B.LoadFromFile(F.get());
  EXPECT_FALSE(B.Morphing);
  EXPECT_EQ(B.Symbols->ToStringArray(), (std::vector<String>{u"0123", u"0123"}));

  TspDataSkinTrackBar T(u"track");
  T.LoadFromFile(F.get());
  EXPECT_FALSE(T.Morphing);
  TspDataSkinGauge G(u"gauge");
  G.LoadFromFile(F.get());
  EXPECT_TRUE(G.Morphing);
  EXPECT_EQ(G.Kind, gkVertical);
  TspDataSkinFrameRegulatorObject R(u"regulator");
  R.LoadFromFile(F.get());
  EXPECT_EQ(R.Kind, rkVertical);
}

TEST(SkinDescriptions, ControlLoadRules) {
  auto F = Ini(
      u"[zero]\nframescount=0\n[neg]\nframescount=-3\n[caps]\nframesplacement=FPHORIZONTAL\n"
      u"[onlyrect]\nskinrect=1,2,30,40\n"
      u"[bits]\nsymbolslinecount=2\nsymbolsline0=ab\nsymbolsline1=cd\n"
      u"[tab]\nleftstretch=1\ntopstretch=1\nbottomstretch=1\n");
  for (const char16_t* Name : {u"zero", u"neg"}) {
    TspDataSkinFrameGauge D(Name);
    D.LoadFromFile(F.get());
    EXPECT_EQ(D.FramesCount, 1) << ToUtf8(Name);
  }
  TspDataSkinFrameRegulator Caps(u"caps");
  Caps.LoadFromFile(F.get());
  EXPECT_EQ(Caps.FramesPlacement, fpVertical);
  EXPECT_EQ(Caps.Kind, rkRound);

  TspDataSkinButtonControl OnlyRect(u"onlyrect");
  OnlyRect.LoadFromFile(F.get());
  EXPECT_EQ(OnlyRect.SkinRect, TRect(1, 2, 30, 40));
  EXPECT_EQ(OnlyRect.PictureIndex, -1);
  EXPECT_EQ(OnlyRect.MaskPictureIndex, -1);
  EXPECT_EQ(OnlyRect.CursorIndex, -1);
  EXPECT_EQ(OnlyRect.LTPoint, TPoint());
  EXPECT_FALSE(OnlyRect.LeftStretch || OnlyRect.StretchEffect);

  TspDataSkinBitLabelControl Bits(u"bits");
  Bits.LoadFromFile(F.get());
  Bits.LoadFromFile(F.get());
  EXPECT_EQ(Bits.Symbols->Count(), 4);

  TspDataSkinTabControl Tab(u"tab");
  Tab.LoadFromFile(F.get());
  EXPECT_TRUE(Tab.LeftStretch && Tab.TopStretch && Tab.BottomStretch);
  EXPECT_FALSE(Tab.RightStretch);
  TMemIniFile Out;
  Tab.SaveToFile(&Out);
  EXPECT_EQ(Out.ReadString(u"tab", u"leftstretch", u"?"), u"1");
  EXPECT_EQ(Out.ReadString(u"tab", u"rightstretch", u"?"), u"0");

  // A slider writes only the root keys and its own.
  TspDataSkinSlider Slider(u"slider");
  TMemIniFile SOut;
  Slider.SaveToFile(&SOut);
  EXPECT_EQ(Section(&SOut, u"slider").size(), 4u + 7u);
}

// The class tree consumers test.
TEST(SkinDescriptions, ClassTree) {
  auto Ctl = [](const char16_t* W) { return std::unique_ptr<TspDataSkinControl>(CreateSkinControl(W, u"x")); };
  EXPECT_TRUE(Is<TspDataSkinEditControl>(Ctl(u"memo").get()));
  EXPECT_TRUE(Is<TspDataSkinListBox>(Ctl(u"checklistbox").get()));
  EXPECT_TRUE(Is<TspDataSkinButtonControl>(Ctl(u"menubutton").get()));
  EXPECT_FALSE(Is<TspDataSkinPanelControl>(Ctl(u"expanel").get()));
  for (const char16_t* W : {u"tab", u"slider", u"bevel", u"grid", u"treeview", u"listview", u"richedit",
                            u"mainmenubar", u"stdlabel"})
    EXPECT_FALSE(Is<TspDataSkinCustomControl>(Ctl(W).get())) << ToUtf8(W);
  for (const char16_t* W : {u"framegauge", u"animate", u"switch", u"frameregulator"})
    EXPECT_TRUE(Is<TspDataSkinFrameControl>(Ctl(W).get())) << ToUtf8(W);
  auto Obj = [](const char16_t* W) { return std::unique_ptr<TspDataSkinObject>(CreateSkinObject(W, u"x")); };
  EXPECT_TRUE(Is<TspDataSkinStdButton>(Obj(u"mainmenubarbutton").get()));
  EXPECT_TRUE(Is<TspDataSkinButton>(Obj(u"stdbutton").get()));
  EXPECT_TRUE(Is<TspDataSkinMainMenuItem>(Obj(u"mainmenubaritem").get()));
  EXPECT_FALSE(Is<TspDataSkinFrameGaugeObject>(Obj(u"frameregulator").get()));
  EXPECT_EQ(CreateSkinObject(u"Button", u"x"), nullptr);
  EXPECT_EQ(CreateSkinControl(u"", u"x"), nullptr);
  // Written words: each class's own, subclasses before their bases.
  EXPECT_EQ(SkinObjectTypeWord(Obj(u"mainmenubarbutton").get()), u"mainmenubarbutton");
  EXPECT_EQ(SkinObjectTypeWord(Obj(u"mainmenubaritem").get()), u"mainmenubaritem");
  EXPECT_EQ(SkinControlTypeWord(Ctl(u"checklistbox").get()), u"checklistbox");
  TspDataSkinObject Plain(u"x");
  EXPECT_EQ(SkinObjectTypeWord(&Plain), u"");
  TspDataSkinFrameControl PlainFrame(u"x");
  EXPECT_EQ(SkinControlTypeWord(&PlainFrame), u"");
}

TEST(SkinDescriptions, SpecialSectionsRoundTrip) {
  struct Special {
    const char16_t* Section;
    Keys Read, Write;
    std::function<Loaded()> Make;
  };
  auto Wrap = [](auto* D) {
    Loaded L;
    L.Obj.reset(D);
    L.Load = [D](TCustomIniFile* F) { D->LoadFromFile(F); };
    L.Save = [D](TCustomIniFile* F) { D->SaveToFile(F); };
    return L;
  };
  const Keys Corners = {"lefttoppoint:p", "righttoppoint:p", "leftbottompoint:p", "rightbottompoint:p"};
  const Special Cases[] = {
      {u"POPUPWINDOW",
       Cat({{"windowpictureindex:i", "maskpictureindex:i"}, Corners,
            {"cursorindex:i", "itemsrect:r", "scrollmarkercolor:i", "scrollmarkeractivecolor:i", "leftstretch:b",
             "rightstretch:b", "topstretch:b", "bottomstretch:b", "stretcheffect:b", "stretchtype:w=sthorz"}}),
       Cat({{"windowpictureindex", "maskpictureindex"}, Corners,
            {"itemsrect", "cursorindex", "scrollmarkercolor", "scrollmarkeractivecolor", "leftstretch",
             "rightstretch", "topstretch", "bottomstretch", "stretcheffect", "stretchtype"}}),
       [&] { return Wrap(new TspDataSkinPopupWindow()); }},
      {u"LAYERFRAME",
       Cat({{"pictureindex:i", "maskpictureindex:i", "inactivepictureindex:i", "inactivemaskpictureindex:i"}, Corners,
            {"clientrect:r", "alphablendvalue:i", "inactivealphablendvalue:i", "borderrect:r", "hittestenable:b",
             "fullborder:b", "hittestsize:i", "captionrect:r", "hittestlefttoppoint:p", "hittestrighttoppoint:p",
             "hittestleftbottompoint:p", "hittestrightbottompoint:p", "buttonsrect:r", "sysmenubuttonrect:r",
             "fullstretch:b", "rollupformheight:i", "buttonstopoffset:i", "sysbuttontopoffset:i",
             "blurmaskpictureindex:i", "intersectblurmaskrect:r", "excludeblurmaskrect:r", "leftoffset:i",
             "topoffset:i", "widthoffset:i", "heightoffset:i"}}),
       {},
       [&] { return Wrap(new TspDataSkinLayerFrame()); }},
      {u"HINTWINDOW",
       Cat({{"windowpictureindex:i", "maskpictureindex:i"}, Corners,
            {"clientrect:r", "fontname:s", "fontheight:i", "fontstyle:f", "fontcolor:i", "leftstretch:b",
             "rightstretch:b", "topstretch:b", "bottomstretch:b", "stretcheffect:b", "stretchtype:w=stvert"}}),
       {},
       [&] { return Wrap(new TspDataSkinHintWindow()); }},
      {u"SKINCOLORS",
       {"cbtnface:i", "cbtntext:i", "cwindow:i", "cwindowtext:i", "chighlight:i", "chighlighttext:i",
        "cbtnhighlight:i", "cbtnshadow:i", "c3dlight:i", "c3ddkshadow:i"},
       {},
       [&] { return Wrap(new TspSkinColors()); }},
  };
  for (const Special& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Section));
    Fixture F = MakeFixture(C.Section, C.Read);
    auto In = Ini(F.Text);
    Loaded D = C.Make();
    D.Load(In.get());
    TMemIniFile Out;
    D.Save(&Out);
    ClassCase Order{false, C.Section, C.Read, C.Write, {}};
    EXPECT_EQ(Section(&Out, C.Section), Expected(F, Order));
  }
  // The colour set writes into its section; the other three erase theirs.
  auto Old = Ini(u"[SKINCOLORS]\nother=1\n[HINTWINDOW]\nother=1\n");
  TspSkinColors Colors;
  Colors.SaveToFile(Old.get());
  TspDataSkinHintWindow Hint;
  Hint.SaveToFile(Old.get());
  EXPECT_EQ(Old->ReadString(u"SKINCOLORS", u"other", u"?"), u"1");
  EXPECT_EQ(Old->ReadString(u"HINTWINDOW", u"other", u"?"), u"?");
}

TEST(SkinDescriptions, SpecialDefaults) {
  auto None = Ini(u"[x]\ny=1\n");
  TspDataSkinLayerFrame Layer;
  Layer.LoadFromFile(None.get());
  EXPECT_EQ(Layer.PictureIndex, -1);
  EXPECT_EQ(Layer.AlphaBlendValue, 255);
  EXPECT_EQ(Layer.InActiveAlphaBlendValue, 255);
  EXPECT_EQ(Layer.BlurMaskPictureIndex, -1);
  TspDataSkinHintWindow Hint;
  EXPECT_EQ(Hint.FontHeight, 12);
  EXPECT_EQ(Hint.FontName, u"Arial");
  Hint.LoadFromFile(None.get());
  EXPECT_EQ(Hint.FontHeight, 14);
  EXPECT_EQ(Hint.FontName, u"Arial");
  TspSkinColors Colors;
  EXPECT_EQ(Colors.cBtnFace(), 0);
  Colors.SetColorsToDefault();
  EXPECT_EQ(Colors.cBtnFace(), TColor(0xFF00000F));
  EXPECT_EQ(Colors.cWindow(), TColor(0xFF000005));
  EXPECT_EQ(Colors.c3DDkShadow(), TColor(0xFF000015));
  EXPECT_EQ(Colors.c3DLight(), TColor(0xFF000016));
  Colors.LoadFromFile(None.get());
  EXPECT_EQ(Colors.cBtnFace(), 0);
  EXPECT_EQ(Colors.cHighLightText(), 0);
}

namespace {

const char16_t* FormInfoText =
    u"[FORMINFO]\n"
    u"lefttoppoint=9,27\nrighttoppoint=273,27\nleftbottompoint=4,205\nrightbottompoint=279,205\n"
    u"clientrect=3,26,282,207\nbgpictureindex=3\nmdibgpictureindex=4\n"
    u"leftstretch=1\nrightstretch=0\ntopstretch=1\nbottomstretch=0\nstretcheffect=1\nstretchtype=stvert\n"
    u"mdibgstretcheffect=1\nmdibgstretchtype=sthorz\nbuttonsrect=200,4,270,20\ncaptionrect=30,4,190,20\n"
    u"buttonsoffset=2\nbuttonsinleft=1\nmaskrectarea=1,1,284,209\n"
    u"hittestlefttoppoint=5,6\nhittestrighttoppoint=7,8\nhittestleftbottompoint=9,10\nhittestrightbottompoint=11,12\n"
    u"rollupleftpoint=13,14\nrolluprightpoint=15,16\nmainmenurect=3,22,282,25\niconrect=4,4,20,20\n"
    u"mainmenupopupup=1\nborderwidth=4\nformminwidth=120\nformminheight=90\nmditabstransparent=1\n"
    u"mainmenubartransparent=1\ncursorindex=2\nautorenderinginactiveimage=1\ninactiveeffect=ienoise\n"
    u"sizegriparea=260,190,280,205\nstatusbarname=statusbar\nforeign=1\n";

}  // namespace

TEST(SkinDescriptions, FormInfoWrittenInItsOrder) {
  auto In = Ini(FormInfoText);
  TspSkinFormInfo Info;
  Info.LoadFormInfo(In.get(), false);
  TMemIniFile Out;
  Info.SaveFormInfo(&Out);
  const std::vector<String> Golden = {
      u"lefttoppoint=9,27", u"righttoppoint=273,27", u"leftbottompoint=4,205", u"rightbottompoint=279,205",
      u"clientrect=3,26,282,207", u"bgpictureindex=3", u"mdibgpictureindex=4", u"maskrectarea=1,1,284,209",
      u"leftstretch=1", u"rightstretch=0", u"topstretch=1", u"bottomstretch=0", u"stretcheffect=1",
      u"stretchtype=stvert", u"mdibgstretcheffect=1", u"mdibgstretchtype=sthorz", u"buttonsrect=200,4,270,20",
      u"captionrect=30,4,190,20", u"buttonsoffset=2", u"buttonsinleft=1", u"hittestlefttoppoint=5,6",
      u"hittestrighttoppoint=7,8", u"hittestleftbottompoint=9,10", u"hittestrightbottompoint=11,12",
      u"rollupleftpoint=13,14", u"rolluprightpoint=15,16", u"mainmenurect=3,22,282,25", u"iconrect=4,4,20,20",
      u"mainmenupopupup=1", u"borderwidth=4", u"cursorindex=2", u"autorenderinginactiveimage=1",
      u"inactiveeffect=ienoise", u"formminwidth=120", u"formminheight=90", u"sizegriparea=260,190,280,205",
      u"statusbarname=statusbar", u"mditabstransparent=1", u"mainmenubartransparent=1"};
  EXPECT_EQ(Section(&Out, u"FORMINFO"), Golden);
}

TEST(SkinDescriptions, FormInfoCorrections) {
  struct Case {
    const char* Name;
    const char16_t* Keys;
    bool Mask;
    std::function<void(const TspSkinFormInfo&)> Check;
  };
  const Case Cases[] = {
      {"mask area missing takes the client rect", u"clientrect=3,26,282,207\n", true,
       [](const TspSkinFormInfo& I) { EXPECT_EQ(I.MaskRectArea, TRect(3, 26, 282, 207)); }},
      {"mask area grows to the client rect", u"maskrectarea=5,5,100,100\nclientrect=3,26,282,207\n", true,
       [](const TspSkinFormInfo& I) { EXPECT_EQ(I.MaskRectArea, TRect(3, 5, 282, 207)); }},
      {"without a mask nothing is corrected",
       u"maskrectarea=5,5,100,100\nclientrect=3,26,282,207\nhittestlefttoppoint=0,40\n", false,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.MaskRectArea, TRect(5, 5, 100, 100));
         EXPECT_EQ(I.HitTestLTPoint, TPoint(0, 40));
         EXPECT_EQ(I.HitTestRBPoint, TPoint());
       }},
      {"hit-test points with a zero take the corner points",
       u"lefttoppoint=9,27\nrightbottompoint=279,205\nclientrect=3,26,282,207\nhittestlefttoppoint=0,40\n"
       u"hittestrighttoppoint=7,8\n",
       true,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.HitTestLTPoint, TPoint(9, 27));
         EXPECT_EQ(I.HitTestRTPoint, TPoint(7, 8));
         EXPECT_EQ(I.HitTestRBPoint, TPoint(279, 205));
       }},
      {"hit-test points take the corner points as read, before the clamp",
       u"lefttoppoint=1,1\nrightbottompoint=300,300\nclientrect=3,26,282,207\n", true,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.HitTestLTPoint, TPoint(1, 1));
         EXPECT_EQ(I.LTPoint, TPoint(3, 26));
         EXPECT_EQ(I.RBPoint, TPoint(282, 207));
       }},
      {"corner points all zero stay", u"clientrect=3,26,282,207\n", false,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.LTPoint, TPoint());
         EXPECT_EQ(I.RBPoint, TPoint());
       }},
      {"corner points are clamped into the client rect",
       u"lefttoppoint=1,1\nrighttoppoint=290,1\nleftbottompoint=1,290\nrightbottompoint=290,290\n"
       u"clientrect=3,26,282,207\n",
       false,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.LTPoint, TPoint(3, 26));
         EXPECT_EQ(I.RTPoint, TPoint(282, 26));
         EXPECT_EQ(I.LBPoint, TPoint(3, 207));
         EXPECT_EQ(I.RBPoint, TPoint(282, 207));
       }},
      {"the top-right point is raised, never lowered",
       u"lefttoppoint=9,27\nrighttoppoint=273,100\nrightbottompoint=279,205\nclientrect=3,26,282,207\n", false,
       [](const TspSkinFormInfo& I) { EXPECT_EQ(I.RTPoint, TPoint(273, 100)); }},
      {"no clamp when the corners share an X",
       u"lefttoppoint=1,1\nrightbottompoint=1,300\nclientrect=3,26,282,207\n", false,
       [](const TspSkinFormInfo& I) { EXPECT_EQ(I.LTPoint, TPoint(1, 1)); }},
      {"defaults", u"x=1\n", false,
       [](const TspSkinFormInfo& I) {
         EXPECT_EQ(I.BGPictureIndex, -1);
         EXPECT_EQ(I.MDIBGPictureIndex, -1);
         EXPECT_EQ(I.CursorIndex, -1);
         EXPECT_EQ(I.StretchType, spstFull);
         EXPECT_EQ(I.InActiveEffect, ieBrightness);
       }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto In = Ini(String(u"[FORMINFO]\n") + C.Keys);
    TspSkinFormInfo Info;
    Info.LoadFormInfo(In.get(), C.Mask);
    C.Check(Info);
  }
}

TEST(SkinDescriptions, AreaEntries) {
  struct Case {
    const char16_t* Entry;
    String Name;
    TRect R;
    bool Flags[5];
  };
  const Case Cases[] = {
      {u"button:10,20,110,44;1,0,0,1,0", u"button", TRect(10, 20, 110, 44), {true, false, false, true, false}},
      {u"a:b:1,2,3,4;1,1,1,1,1", u"a:b", TRect(1, 2, 3, 4), {true, true, true, true, true}},
      {u"a:1,2,3,4;1,1", u"a", TRect(1, 2, 3, 4), {false, false, false, false, false}},
      {u"a:1,2,3,4", u"a", TRect(1, 2, 3, 4), {false, false, false, false, false}},
      {u"a:1,2,3,4;1x1x0x1x1", u"a", TRect(1, 2, 3, 4), {true, true, false, true, true}},
      {u"noname;1,0,1,0,1", u"", TRect(), {true, false, true, false, true}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Entry));
    std::unique_ptr<TspDataSkinArea> A(ParseSkinArea(C.Entry));
    EXPECT_EQ(A->IDName, C.Name);
    EXPECT_EQ(A->AreaRect, C.R);
    const bool Got[5] = {A->UseAnchors, A->AnchorLeft, A->AnchorTop, A->AnchorRight, A->AnchorBottom};
    for (int I = 0; I < 5; ++I) EXPECT_EQ(Got[I], C.Flags[I]) << I;
  }
  EXPECT_THROW(ParseSkinArea(u"x:;1,0,0,1,0"), EConvertError);
  TspDataSkinArea A(u"b", TRect(10, 20, 110, 44), true, false, false, true, false);
  EXPECT_EQ(SkinAreaToText(A), u"b:10,20,110,44;1,0,0,1,0");
}
