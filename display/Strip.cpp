// Draws the strip along the top: the time left and the four scores in their boxes.
#include "Strip.h"

#include <algorithm>
#include <cstdio>

#include "Scoring.h"

namespace tessaform {

namespace {
constexpr unsigned kValueFlags = kDtSingleLine | kDtVCenter | kDtCenter;
constexpr unsigned kLabelFlags = kDtSingleLine | kDtVCenter | kDtRight;
}  // namespace

void LabelledBox(DeviceContext& dc, const Rect& label, const std::string& name, const Rect& box,
                 const std::string& value) {
    dc.Rectangle(box);
    dc.DrawText(value, box, kValueFlags);
    dc.DrawText(name, label, kLabelFlags);
    const std::size_t digits = std::min(value.find_first_not_of(' '), value.size());
    dc.Describe({label.left, label.top, box.right, box.bottom}, name + " " + value.substr(digits));
}

void BeginBoxes(DeviceContext& dc, Rgb pen) {
    dc.SetTransparentBackground();
    dc.SelectPen(pen);
    dc.SelectBrush(kGrey);
}

std::string FormatNumber(std::int32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%*li", width, static_cast<long>(value));
    return text;
}

void DrawTimeBox(DeviceContext& dc, const GameState& s) {
    BeginBoxes(dc, kBlue);
    LabelledBox(dc, s.timeLabelRect, "Time Left", s.timeValueRect, s.timeLeftText);
}

void DrawScorePanel(DeviceContext& dc, GameState& s, bool bonusAllowed) {
    BeginBoxes(dc, kBlue);
    const std::int32_t bonus = Bonus(s.scaleTable, s.matchCount, s.bonusIndex, bonusAllowed);
    if (BonusCounts(s.matchCount, bonusAllowed)) {
        LabelledBox(dc, s.bonusLabelRect, "Bonus", s.bonusValueRect, FormatNumber(bonus, 7));
    } else {
        dc.FillRect(s.bonusValueRect, kGrey);
        dc.FillRect(s.bonusLabelRect, kGrey);
    }
    LabelledBox(dc, s.clickCostLabelRect, "Click Cost", s.clickCostValueRect,
                FormatNumber(s.clickCost, 4));
    LabelledBox(dc, s.matchScoreLabelRect, "Match Score", s.matchScoreValueRect,
                FormatNumber(s.matchScore, 4));
    const std::int32_t net = bonus - s.clickCost + s.matchScore;
    LabelledBox(dc, s.netScoreLabelRect, "Net Score", s.netScoreValueRect, FormatNumber(net, 7));
    if (s.gameIndex >= 0 && s.gameIndex < static_cast<int>(s.setScores.size())) {
        s.setScores[s.gameIndex] = net;
    }
}

}  // namespace tessaform
