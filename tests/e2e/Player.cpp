#include "Player.h"

#include "Checks.h"

namespace tessaform::e2e {

Table ReadTable(const Screen& screen) {
    Table table;
    for (int k = 0; k < kBlocks; ++k) {
        const BlockLook look = screen.Block(k);
        const auto i = static_cast<std::size_t>(k);
        if (look.kind != BlockLook::Kind::kPicture) {
            table.status[i] = Status::kLost;
            table.code[i] = look.kind == BlockLook::Kind::kGrey ? "" : "?";
            continue;
        }
        table.code[i] = look.code;
        if (k == 0 || look.frame == Frame::kGreen) {
            table.status[i] = Status::kMatched;
        } else {
            table.status[i] = look.frame == Frame::kNone ? Status::kOpen : Status::kLost;
        }
    }
    return table;
}

void PlayMoves(Desktop& desktop, const Layout& layout, DigitReader& digits, Table& table,
               const std::vector<Move>& moves, const std::function<void()>& pressed,
               double seconds) {
    for (const Move& move : moves) {
        const auto k = static_cast<std::size_t>(move.block);
        if (pressed) {
            pressed();
        }
        desktop.Click(layout.Block(move.block) + PressPoint(move.arrow));
        table.Play(move);
        const Code want = table.code[k];
        const Frame frame = table.status[k] == Status::kMatched ? Frame::kGreen : Frame::kNone;
        BlockLook seen;
        try {
            desktop.Await("", seconds, [&](const Shot& shot) {
                seen = Screen(shot.image, layout, digits).Block(move.block);
                return seen.kind == BlockLook::Kind::kPicture && seen.code == want &&
                       seen.frame == frame;
            });
        } catch (const Abort&) {
            throw Abort("after arrow " + std::to_string(move.arrow) + " block " +
                        std::to_string(move.block) + " should show " + want + " with " +
                        FrameName(frame) + ", but shows " + seen.Describe());
        }
    }
}

}  // namespace tessaform::e2e
