#include "sourcebase/layout.h"

#include <algorithm>

namespace bw {
namespace {

constexpr double kGap = 70;            // between the splitter and either pane
constexpr double kRightMargin = 100;   // right of the code box
constexpr double kBottomMargin = 350;  // below both panes

}  // namespace

double ClampSplitter(double splitter, double clientWidth) {
  double highest = clientWidth - kSplitterRightRoom;
  return std::max(kSplitterMinLeft, std::min(splitter, highest));
}

BrowserLayout LayoutFor(double splitter, double clientWidth, double clientHeight) {
  BrowserLayout l;
  l.Splitter = ClampSplitter(splitter, clientWidth);
  l.CodeLeft = l.Splitter + kGap;
  l.CodeWidth = std::max(0.0, clientWidth - l.CodeLeft - kRightMargin);
  l.CodeHeight = std::max(0.0, clientHeight - kPaneTop - kBottomMargin);
  l.TreeHeight = l.CodeHeight;
  l.TreeWidth = l.Splitter - kGap;
  l.LabelSourceLeft = l.CodeLeft;
  l.LabelSourceWidth = l.CodeWidth;
  l.LabelCodeWidth = l.TreeWidth;
  return l;
}

}  // namespace bw
