// The source library browser's layout: where the code tree, the code box and their labels go
// for a splitter position and a client area, in twips.
//
// The tree and its label keep their left edge (75) and take the room left of the splitter less
// 70; the code box and its label start 70 right of the splitter and reach to 100 short of the
// client's right edge; tree and code box keep their top (750) and end 350 above the client's
// bottom. The splitter is held where every size is valid: at least 70 from the left and at
// least 170 short of the right edge (at 70 when the client is too narrow for both); sizes that
// would still come out negative (a client lower than 1100) are zero.
#pragma once

namespace bw {

inline constexpr double kDefaultSplitter = 2295;
inline constexpr double kSplitterMinLeft = 70;
inline constexpr double kSplitterRightRoom = 170;
inline constexpr double kPaneTop = 750;

// The splitter's left edge held into [70, clientWidth - 170], or 70 when that range is empty.
double ClampSplitter(double splitter, double clientWidth);

struct BrowserLayout {
  double Splitter;  // the splitter's left edge, held as above
  double TreeWidth, TreeHeight;
  double CodeLeft, CodeWidth, CodeHeight;
  double LabelCodeWidth;                     // lblCode, over the tree
  double LabelSourceLeft, LabelSourceWidth;  // lblSource, over the code box
};

BrowserLayout LayoutFor(double splitter, double clientWidth, double clientHeight);

}  // namespace bw
