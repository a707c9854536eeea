// Draws the end of a set: the five scores, their average and the play-another-set column.
#include "Recap.h"

#include "Scoring.h"
#include "Strip.h"

namespace tessaform {

void DrawRecap(DeviceContext& dc, GameState& s) {
    const int bottom = s.clientRect.bottom;
    BeginBoxes(dc, kRed);
    s.recapValueRect = {69, bottom - 16, 129, bottom};
    s.recapLabelRect = {10, bottom - 16, 65, bottom};
    LabelledBox(dc, s.recapLabelRect, "Average", s.recapValueRect,
                FormatNumber(SetAverage(s.setScores), 7));
    for (int game = kSetLength; game >= 1; --game) {
        s.recapValueRect = s.recapValueRect.Offset(125, 0);
        s.recapLabelRect = s.recapLabelRect.Offset(125, 0);
        LabelledBox(dc, s.recapLabelRect, "Game " + std::to_string(game), s.recapValueRect,
                    FormatNumber(s.setScores[game - 1], 7));
    }

    // The column spells its invitation one letter under the other, a wider step between words.
    dc.SelectPen(kYellow);
    dc.Rectangle(s.anotherSetRect);
    dc.SelectFont(kPanelFont);
    constexpr std::string_view invitation = "CLICK HERE TO PLAY ANOTHER SET";
    dc.Describe(s.anotherSetRect, std::string(invitation));
    int y = s.anotherSetRect.top + 18;
    for (char letter : invitation) {
        if (letter == ' ') {
            y += 10;
            continue;
        }
        dc.TextOut(18, y, std::string(1, letter));
        y += 15;
    }
}

}  // namespace tessaform
