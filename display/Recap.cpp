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
    ValueBox(dc, s.recapValueRect, FormatNumber(SetAverage(s.setScores), 7));
    dc.DrawText("Average", s.recapLabelRect, kLabelFlags);
    for (int game = kSetLength; game >= 1; --game) {
        s.recapValueRect = s.recapValueRect.Offset(125, 0);
        s.recapLabelRect = s.recapLabelRect.Offset(125, 0);
        ValueBox(dc, s.recapValueRect, FormatNumber(s.setScores[game - 1], 7));
        dc.DrawText("Game " + std::to_string(game), s.recapLabelRect, kLabelFlags);
    }

    // The column spells its invitation one letter under the other, a wider step between words.
    dc.SelectPen(kYellow);
    dc.Rectangle(s.anotherSetRect);
    dc.SelectFont(kPanelFont);
    int y = s.anotherSetRect.top + 18;
    for (char letter : std::string_view("CLICK HERE TO PLAY ANOTHER SET")) {
        if (letter == ' ') {
            y += 10;
            continue;
        }
        dc.TextOut(18, y, std::string(1, letter));
        y += 15;
    }
}

}  // namespace tessaform
