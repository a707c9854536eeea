// Draws the strip along the top: the time left and the four scores in their boxes.
#include "Strip.h"

#include <cstdio>

#include "Scoring.h"

namespace tessaform {

void ValueBox(DeviceContext& dc, const Rect& box, const std::string& text) {
    dc.Rectangle(box);
    dc.DrawText(text, box, kValueFlags);
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
    ValueBox(dc, s.timeValueRect, s.timeLeftText);
    dc.DrawText("Time Left", s.timeLabelRect, kLabelFlags);
}

void DrawScorePanel(DeviceContext& dc, GameState& s, bool bonusAllowed) {
    BeginBoxes(dc, kBlue);
    const std::int32_t bonus = Bonus(s.scaleTable, s.matchCount, s.bonusIndex, bonusAllowed);
    if (BonusCounts(s.matchCount, bonusAllowed)) {
        ValueBox(dc, s.bonusValueRect, FormatNumber(bonus, 7));
        dc.DrawText("Bonus", s.bonusLabelRect, kLabelFlags);
    } else {
        dc.FillRect(s.bonusValueRect, kGrey);
        dc.FillRect(s.bonusLabelRect, kGrey);
    }
    ValueBox(dc, s.clickCostValueRect, FormatNumber(s.clickCost, 4));
    dc.DrawText("Click Cost", s.clickCostLabelRect, kLabelFlags);
    ValueBox(dc, s.matchScoreValueRect, FormatNumber(s.matchScore, 4));
    dc.DrawText("Match Score", s.matchScoreLabelRect, kLabelFlags);
    const std::int32_t net = bonus - s.clickCost + s.matchScore;
    ValueBox(dc, s.netScoreValueRect, FormatNumber(net, 7));
    dc.DrawText("Net Score", s.netScoreLabelRect, kLabelFlags);
    if (s.gameIndex >= 0 && s.gameIndex < static_cast<int>(s.setScores.size())) {
        s.setScores[s.gameIndex] = net;
    }
}

}  // namespace tessaform
