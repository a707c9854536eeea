// The printed rules: their shape, and that their figures are the game's own.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <cstring>

#include "AppFixture.h"
#include "Instructions.h"
#include "Scale.h"
#include "Scoring.h"

namespace tessaform {
namespace {

TEST(Instructions, ThirtyEightLinesNoneWiderThanThePageAllowsBlanksAreOneBlank) {
    int widest = 0;
    for (int i = 0; i < kInstructionLineCount; ++i) {
        const std::string line = kInstructionLines[i];
        widest = std::max(widest, static_cast<int>(line.size()));
        EXPECT_FALSE(line.empty()) << i;
        const bool blank = line.find_first_not_of(' ') == std::string::npos;
        EXPECT_EQ(blank, i == 6 || i == 14 || i == 25 || i == 32) << i;
        if (blank) {
            EXPECT_EQ(line, " ") << i;
        }
    }
    EXPECT_LE(widest, kInstructionLineMaxLength);
    // The first line sets where every line starts, so no line may be much wider.
    EXPECT_GE(std::strlen(kInstructionLines[0]) + 4, static_cast<std::size_t>(widest));
}

std::vector<std::int32_t> Numbers(const QString& text) {
    std::vector<std::int32_t> numbers;
    static const QRegularExpression number(R"(\d[\d,]*)");
    for (auto it = number.globalMatch(text); it.hasNext();) {
        QString digits = it.next().captured();
        digits.remove(',');
        numbers.push_back(digits.toInt());
    }
    return numbers;
}

TEST(Instructions, FiguresAreTheGamesOwn) {
    const ScaleTable scale = BuildScaleTable();
    const std::vector<std::int32_t> matchPoints =
        Numbers(QString(kInstructionLines[16]) + " " + kInstructionLines[17]);
    ASSERT_GE(matchPoints.size(), 12u);
    for (int matches = 0; matches <= 11; ++matches) {
        EXPECT_EQ(matchPoints[static_cast<std::size_t>(matches)], scale[matches]) << matches;
    }
    const std::vector<std::int32_t> clicks = Numbers(kInstructionLines[18]);
    ASSERT_GE(clicks.size(), 3u);
    for (int click = 1; click <= 3; ++click) {
        EXPECT_EQ(clicks[static_cast<std::size_t>(click) - 1], BlockClickCost(scale, click));
    }
    // All eleven matches besides the master, with 7 and with 90 seconds to spare.
    EXPECT_EQ(Numbers(kInstructionLines[22]), (std::vector<std::int32_t>{11, 7}));
    EXPECT_EQ(Numbers(kInstructionLines[23]).front(),
              Bonus(scale, kBlockCount, BonusIndexFor(7), true));
    EXPECT_EQ(Numbers(kInstructionLines[24]).front(),
              Bonus(scale, kBlockCount, BonusIndexFor(90), true));
}

TEST(Instructions, TheViewHoldsThemFromTheStartAndNothingAfterThem) {
    testing::RunningApp run;
    const GameState& s = run.State();
    for (int i = 0; i < kInstructionLineCount; ++i) {
        EXPECT_EQ(s.instructionLines[i], kInstructionLines[i]) << i;
    }
    for (int i = kInstructionLineCount; i < kInstructionCapacity; ++i) {
        EXPECT_TRUE(s.instructionLines[i].empty()) << i;
    }
}

}  // namespace
}  // namespace tessaform
