#include "Suite.h"

#include "Player.h"

#include <QDir>
#include <algorithm>
#include <cstdio>
#include <iostream>

namespace tessaform::e2e {

namespace {

// SDL writes the recording in chunks of 1,024 frames: a position is known to about one chunk.
constexpr qint64 kSlack = 1024 + 256;
constexpr double kRestSeconds = 1.0 + 0.4;  // rest timer, then the silent sound 157
constexpr double kDealSeconds = 93'541.0 / kSampleRate;
constexpr int kMaster = 0;

qint64 Frames(double seconds) {
    return static_cast<qint64>(seconds * kSampleRate);
}

std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string At(qint64 frames) {
    return Fixed(Seconds(frames)) + " s";
}

}  // namespace

Suite::Suite(const SuiteOptions& options) : options_(options) {}

int Suite::Run() {
    const std::string name = std::to_string(options_.width) + "x" + std::to_string(options_.height);
    QDir(options_.out).removeRecursively();
    QDir().mkpath(options_.out);
    try {
        desktop_.emplace(options_.width, options_.height, options_.out);
        Play();
    } catch (const Abort& abort) {
        checks_.Fail("the run could not go on", abort.what());
    }
    const double seconds = desktop_ ? desktop_->Seconds() : 0;
    if (desktop_) {
        desktop_->StopGame();
    }
    try {
        const SoundLog log = SoundLog::Analyse(desktop_ ? desktop_->RecordingPath() : QString(),
                                               LoadSoundTemplates(options_.sounds));
        for (const auto& [group, check] : later_) {
            checks_.Group(group + ", in the recording");
            check(log);
        }
        std::cout << "\nRecording: " << log.Timeline(0, log.Frames()) << "\n";
    } catch (const Abort& abort) {
        checks_.Fail("the recording could not be read", abort.what());
    }
    desktop_.reset();
    std::cout << "\ne2e " << name << ": " << checks_.Passed() << " passed, " << checks_.Failed()
              << " failed in " << Fixed(seconds) << " s; screenshots in "
              << options_.out.toStdString() << "\n";
    return checks_.Failed() == 0 ? 0 : 1;
}

void Suite::Play() {
    desktop_->StartGame(options_.game);

    checks_.Group("Start: the opening figure while the deal sound plays, then the board");
    Deal deal = AwaitFirstDeal("the first board");
    Save(deal.board, "02-board.png");
    CheckDealSound(deal, 0, true);
    CheckFreshGame(deal.board, 1);

    WonGame(1, deal.board, true);
    Shot end = lastShot_;
    Shot board = AwaitNextGame(2, end);

    CollisionGame(board);
    end = lastShot_;
    board = AwaitNextGame(3, end);

    PressOffGame(board);
    end = lastShot_;
    board = AwaitNextGame(4, end);

    TimedOutGame(board);
    end = lastShot_;
    board = AwaitNextGame(5, end);

    WonGame(5, board, false);
    Recap();
}

Suite::Deal Suite::AwaitFirstDeal(const std::string& what) {
    // The figure is judged once the board has fixed the layout, so keep its distinct pictures.
    std::vector<std::pair<QImage, std::vector<Capture>>> seen;
    Deal deal;
    deal.board = WaitFor(what, 30, [&](const Shot& shot) {
        if (seen.empty() || seen.back().first != shot.image) {
            seen.push_back({shot.image, {}});
        }
        seen.back().second.push_back({shot.seconds, shot.framesBefore, shot.framesAfter});
        const auto layout = FindLayout(shot.image);
        if (!layout) {
            return false;
        }
        // A click on the recap's column leaves the old board on screen for a moment.
        layout_ = *layout;
        const Screen screen = On(shot);
        return screen.RecapGone() && ReadTable(shot).OpenBlocks().size() == 11 &&
               screen.Number(kMatchBox) == std::optional<long>(10) &&
               screen.Number(kCostBox) == std::optional<long>(0);
    });
    for (const auto& [image, captures] : seen) {
        const Shot shot{image, captures.front().seconds, captures.front().framesBefore,
                        captures.front().framesAfter};
        if (On(shot).OpeningFigure()) {
            deal.figure.insert(deal.figure.end(), captures.begin(), captures.end());
            if (!deal.firstFigure) {
                deal.firstFigure = shot;
            }
        }
    }
    if (!checks_.Expect(deal.firstFigure.has_value(), "the opening figure showed before the board",
                        std::to_string(seen.size()) + " different screens seen")) {
        Save(deal.board, "figure-missing.png");
    } else {
        Save(*deal.firstFigure,
             what == "the first board" ? "01-opening-figure.png" : "11-new-set-figure.png");
    }
    return deal;
}

void Suite::CheckFreshGame(const Shot& board, int game) {
    const Screen screen = On(board);
    const int w = layout_.width;
    const int h = layout_.height;
    if (game == 1) {
        std::cout << "  view " << w << "x" << h << " at (" << layout_.view.x() << ","
                  << layout_.view.y() << "), master block at (" << layout_.board.x() << ","
                  << layout_.board.y() << ")\n";
        checks_.ExpectEqual(layout_.board.x() - layout_.view.x(), (w - 700) / 2,
                            "the board is centred across the view");
        checks_.ExpectEqual(layout_.board.y() - layout_.view.y(), (h - 520) / 2 + 1,
                            "the board is centred down the view");
    }
    const Table table = ReadTable(board);
    std::vector<Code> codes(table.code.begin(), table.code.end());
    std::sort(codes.begin(), codes.end());
    checks_.Expect(std::adjacent_find(codes.begin(), codes.end()) == codes.end(),
                   "the twelve blocks show twelve different arrangements");
    checks_.Expect(table.OpenBlocks().size() == 11, "every block but the master is open, unframed");
    checks_.Expect(screen.BonusAbsent(), "no bonus box at the start");
    checks_.ExpectEqual(ReadNumber(board, kMatchBox, "match score"), 10L,
                        "Match Score starts at 10");
    checks_.ExpectEqual(ReadNumber(board, kCostBox, "click cost"), 0L, "Click Cost starts at 0");
    checks_.ExpectEqual(ReadNumber(board, kNetBox, "net score"), 10L, "Net Score starts at 10");
    // The box shows the last game's time until the first tick; the tick comes at once.
    int seconds = -1;
    Within(
        "the clock starts at 01:45 with the board", 3,
        [&](const Shot& shot) {
            seconds = ReadSeconds(shot);
            return seconds >= 100 && seconds <= 105;
        },
        nullptr, [&] { return "time box reads " + std::to_string(seconds) + " s"; });
}

void Suite::CheckDealSound(const Deal& deal, qint64 from, bool figureWhilePlaying) {
    const Shot board = deal.board;
    const std::vector<Capture> figure = deal.figure;
    Later([=, this](const SoundLog& log) {
        const auto deal154 = log.FirstAfter(154, from);
        if (!checks_.Expect(deal154.has_value(), "the deal sound 154 plays",
                            log.Timeline(from, board.framesAfter))) {
            return;
        }
        checks_.Expect(deal154->Complete(), "154 plays to its end", deal154->Describe());
        checks_.Expect(
            deal154->End() <= board.framesBefore + kSlack,
            "154 ends before the first screenshot that shows the board",
            "154 ends at " + At(deal154->End()) + ", board seen at " + At(board.framesBefore));
        if (figureWhilePlaying) {
            const bool during = std::any_of(figure.begin(), figure.end(), [&](const Capture& c) {
                return c.framesBefore >= deal154->start && c.framesAfter <= deal154->End();
            });
            checks_.Expect(during, "the opening figure is on screen while 154 plays",
                           std::to_string(figure.size()) + " screenshots of the figure, 154 " +
                               deal154->Describe());
        }
    });
}

Shot Suite::AwaitNextGame(int game, const Shot& end) {
    checks_.Group("Rest before game " + std::to_string(game));
    const int frozenSeconds = ReadSeconds(end);
    bool frozen = true;
    std::string drift;
    Shot board = WaitFor(
        "game " + std::to_string(game) + "'s board", 20,
        [&](const Shot& shot) {
            const Screen screen = On(shot);
            const Table table = ReadTable(shot);
            const bool fresh = table.OpenBlocks().size() == 11 &&
                               screen.Number(kMatchBox) == std::optional<long>(10) &&
                               screen.Number(kCostBox) == std::optional<long>(0);
            if (!fresh) {
                const auto seconds = screen.SecondsLeft();
                if (seconds != std::optional<int>(frozenSeconds)) {
                    frozen = false;
                    drift = seconds ? std::to_string(*seconds) + " s" : "no time";
                }
            }
            return fresh;
        },
        0.1);
    checks_.Expect(frozen, "the time box keeps the time left at the end of the game",
                   "expected " + std::to_string(frozenSeconds) + " s, saw " + drift);
    const double rest = board.seconds - end.seconds;
    checks_.Expect(rest >= 5.0 && rest <= 9.0,
                   "the next board comes about 5.6 s after the end of the game",
                   Fixed(rest) + " s between the screenshots");
    checks_.Group("Game " + std::to_string(game) + ": the fresh board");
    CheckFreshGame(board, game);
    CheckRest(lastPress_, end, board);
    return board;
}

void Suite::CheckRest(qint64 lastPress, const Shot& end, const Shot& board) {
    Later([=, this](const SoundLog& log) {
        const auto bell = log.FirstAfter(158, lastPress);
        if (!checks_.Expect(bell.has_value() && bell->start <= end.framesAfter + kSlack,
                            "158 marks the end of the game",
                            log.Timeline(lastPress, end.framesAfter))) {
            return;
        }
        const auto deal = log.FirstAfter(154, bell->start);
        if (!checks_.Expect(deal.has_value(), "the next deal sound 154 plays",
                            log.Timeline(bell->start, board.framesAfter))) {
            return;
        }
        const double gap = Seconds(deal->start - bell->start);
        checks_.Expect(gap >= kRestSeconds - 0.3 && gap <= kRestSeconds + 0.8,
                       "154 starts after the 1 s rest and 0.4 s of silence",
                       Fixed(gap) + " s after 158");
        checks_.Expect(log.Between(156, bell->start, deal->start).empty() &&
                           log.Between(159, bell->start, deal->start).empty() &&
                           log.Between(155, bell->start, deal->start).empty(),
                       "nothing else sounds during the rest",
                       log.Timeline(bell->start, deal->start));
        checks_.Expect(deal->Complete(), "154 plays to its end", deal->Describe());
        checks_.Expect(
            deal->End() <= board.framesBefore + kSlack,
            "154 ends before the first screenshot that shows the board",
            "154 ends at " + At(deal->End()) + ", board seen at " + At(board.framesBefore));
        const double total = Seconds(deal->End() - bell->start);
        checks_.Expect(std::abs(total - (kRestSeconds + kDealSeconds)) <= 0.6,
                       "the new board follows the end of the game by about 5.6 s of sound",
                       Fixed(total) + " s from 158 to the end of 154");
    });
}

void Suite::WonGame(int game, const Shot& board, bool waitBelowNinety) {
    checks_.Group("Game " + std::to_string(game) + ": all eleven matched" +
                  (waitBelowNinety ? ", the last once the time is below 1:30" : ""));
    Table table = ReadTable(board);
    const qint64 start = desktop_->RecordedFrames();
    std::vector<Move> moves = Plan(table, table.OpenBlocks(), game * 3);
    const Move last = moves.back();
    moves.pop_back();
    PlayMoves(table, moves);
    Shot shot = AwaitStrip(table, false);
    checks_.Expect(On(shot).BonusAbsent(), "no bonus box while a block is open");
    if (waitBelowNinety) {
        WaitFor(
            "the time box to fall below 01:30", 45,
            [&](const Shot& s) { return ReadSeconds(s) <= 88; }, 0.2);
    }
    PlayMoves(table, {last});
    Shot end;
    const bool bonusShown = Within(
        "the bonus box appears with the last match", 5,
        [&](const Shot& s) { return On(s).BonusShown(); }, &end);
    lastShot_ = end;
    Save(end, game == 1 ? "03-game1-won.png" : "09-game5-won.png");
    const Screen screen = On(end);
    for (int k = 1; k < kBlocks; ++k) {
        checks_.Expect(screen.Block(k).frame == Frame::kGreen,
                       "block " + std::to_string(k) + " is framed green",
                       screen.Block(k).Describe());
    }
    const int seconds = ReadSeconds(end);
    const long match = ReadNumber(end, kMatchBox, "match score");
    const long cost = ReadNumber(end, kCostBox, "click cost");
    const long bonus = bonusShown ? ReadNumber(end, kBonusBox, "bonus") : 0;
    const long net = ReadNumber(end, kNetBox, "net score");
    std::cout << "  " << ClickCost(table) << " points for the moves, " << seconds
              << " s left at the end\n";
    if (waitBelowNinety) {
        checks_.Expect(seconds <= 88, "the time shown is below 1:30", std::to_string(seconds));
    }
    checks_.ExpectEqual(match, 3640L, "Match Score shows eleven matches");
    checks_.ExpectEqual(cost, ClickCost(table), "Click Cost is the cost of the player's moves");
    checks_.ExpectEqual(bonus, Bonus(seconds), "Bonus follows from the seconds shown");
    checks_.ExpectEqual(net, 3640 + Bonus(seconds) - ClickCost(table),
                        "Net Score = match points + bonus - click cost");
    netScores_.push_back(net);
    const qint64 lastPress = lastPress_;
    Later([=, this](const SoundLog& log) {
        checks_.Expect(!log.Between(156, start, lastPress + Frames(2)).empty(), "a match rings 156",
                       log.Timeline(start, lastPress + Frames(2)));
        checks_.Expect(log.Between(155, start, end.framesAfter).empty() &&
                           log.Between(159, start, end.framesAfter).empty(),
                       "no block is lost", log.Timeline(start, end.framesAfter));
        const auto bell = log.FirstAfter(158, lastPress);
        checks_.Expect(bell && bell->start <= lastPress + Frames(1.0),
                       "158 rings as the last match ends the game",
                       log.Timeline(lastPress, end.framesAfter));
    });
}

void Suite::CollisionGame(const Shot& board) {
    checks_.Group("Game 2: a move that makes two open blocks equal");
    Table table = ReadTable(board);
    const std::optional<Collision> collision = FindCollision(table);
    if (!collision) {
        throw Abort("no move on this board makes two blocks equal");
    }
    const int a = collision->move.block;
    const int b = collision->other;
    const Code shapes = table.code[static_cast<std::size_t>(b)];
    std::cout << "  block " << a << " takes arrow " << collision->move.arrow << " and shows "
              << shapes << " like block " << b << "\n";
    const Table before = table;
    const qint64 press = desktop_->RecordedFrames();
    desktop_->Click(layout_.Block(a) + PressPoint(collision->move.arrow));
    lastPress_ = press;
    table.Play(collision->move);

    std::optional<Shot> framed;
    std::vector<Capture> framedCaptures;
    Shot lost;
    const bool dissolved = Within(
        "both blocks dissolve to grey", 10,
        [&](const Shot& shot) {
            const Screen screen = On(shot);
            const BlockLook la = screen.Block(a);
            const BlockLook lb = screen.Block(b);
            if (la.kind == BlockLook::Kind::kPicture && la.code == shapes &&
                la.frame == Frame::kBlack && lb.kind == BlockLook::Kind::kPicture &&
                lb.code == shapes && lb.frame == Frame::kBlack) {
                if (!framed) {
                    framed = shot;
                }
                framedCaptures.push_back({shot.seconds, shot.framesBefore, shot.framesAfter});
            }
            return la.kind == BlockLook::Kind::kGrey && lb.kind == BlockLook::Kind::kGrey;
        },
        &lost);
    if (checks_.Expect(framed.has_value(), "both blocks show the same shapes in black frames")) {
        Save(*framed, "04-collision-black-frames.png");
    }
    Save(lost, "05-collision-lost.png");
    if (!dissolved) {
        throw Abort("the game does not go on as the player expects after the collision");
    }
    const Table after = ReadTable(lost);
    bool othersKept = true;
    for (int k = 0; k < kBlocks; ++k) {
        if (k != a && k != b) {
            othersKept = othersKept &&
                         after.code[static_cast<std::size_t>(k)] ==
                             before.code[static_cast<std::size_t>(k)] &&
                         after.status[static_cast<std::size_t>(k)] ==
                             before.status[static_cast<std::size_t>(k)];
        }
    }
    checks_.Expect(othersKept, "every other block is as it was");
    AwaitStrip(table, false);

    Later([=, this](const SoundLog& log) {
        const auto boing = log.FirstAfter(155, press);
        if (!checks_.Expect(boing.has_value(), "155 plays after the move",
                            log.Timeline(press, lost.framesAfter))) {
            return;
        }
        checks_.Expect(boing->Complete(), "155 plays to its end", boing->Describe());
        const auto loss = log.FirstAfter(159, press);
        checks_.Expect(loss && loss->start >= boing->start + boing->length,
                       "159 starts only after 155 has ended",
                       log.Timeline(press, lost.framesAfter));
        checks_.Expect(log.Between(156, press, lost.framesAfter).empty(), "no match sound");
        const bool during =
            std::any_of(framedCaptures.begin(), framedCaptures.end(), [&](const Capture& c) {
                return c.framesBefore >= boing->start && c.framesAfter <= boing->End();
            });
        checks_.Expect(during, "the black frames show while 155 plays",
                       std::to_string(framedCaptures.size()) + " screenshots with black frames");
    });

    PlayMoves(table, Plan(table, table.OpenBlocks(), 7));
    const Shot end = AwaitStrip(table, false);
    lastShot_ = end;
    Save(end, "06-game2-end.png");
    checks_.Expect(On(end).BonusAbsent(), "no bonus with two blocks lost");
    netScores_.push_back(ReadNumber(end, kNetBox, "net score"));
    checks_.ExpectEqual(netScores_.back(), MatchScore(table) - ClickCost(table),
                        "Net Score = match points - click cost");
}

void Suite::PressOffGame(const Shot& board) {
    checks_.Group("Game 3: a press inside a block but off its arrows");
    Table table = ReadTable(board);
    const int c = table.OpenBlocks().back();
    const Table before = table;
    const qint64 press = desktop_->RecordedFrames();
    desktop_->Click(layout_.Block(c) + QPoint(150, 150));
    lastPress_ = press;
    table.Lose(c);
    bool blackFrame = false;
    Shot lost;
    const bool dissolved = Within(
        "block " + std::to_string(c) + " dissolves to a grey hole", 10,
        [&](const Shot& shot) {
            const Screen screen = On(shot);
            for (int k = 0; k < kBlocks; ++k) {
                blackFrame = blackFrame || screen.Block(k).frame == Frame::kBlack;
            }
            return screen.Block(c).kind == BlockLook::Kind::kGrey;
        },
        &lost);
    Save(lost, "07-press-off-lost.png");
    if (!dissolved) {
        throw Abort("the game does not go on as the player expects after the press");
    }
    checks_.Expect(!blackFrame, "no black frame shows");
    const Table after = ReadTable(lost);
    bool othersKept = true;
    for (int k = 0; k < kBlocks; ++k) {
        if (k != c) {
            othersKept = othersKept &&
                         after.code[static_cast<std::size_t>(k)] ==
                             before.code[static_cast<std::size_t>(k)] &&
                         after.status[static_cast<std::size_t>(k)] ==
                             before.status[static_cast<std::size_t>(k)];
        }
    }
    checks_.Expect(othersKept, "every other block is as it was");
    const Shot strip = AwaitStrip(table, false);
    checks_.ExpectEqual(ReadNumber(strip, kCostBox, "click cost"), 0L, "the press costs nothing");

    const qint64 nextPress = desktop_->RecordedFrames();
    Later([=, this](const SoundLog& log) {
        const auto loss = log.FirstAfter(159, press);
        checks_.Expect(loss && loss->start < nextPress, "159 plays after the press",
                       log.Timeline(press, nextPress));
        checks_.Expect(log.Between(155, press, nextPress).empty() &&
                           log.Between(156, press, nextPress).empty(),
                       "and nothing else", log.Timeline(press, nextPress));
    });

    PlayMoves(table, Plan(table, table.OpenBlocks(), 4));
    const Shot end = AwaitStrip(table, false);
    lastShot_ = end;
    checks_.Expect(On(end).BonusAbsent(), "no bonus with a block lost");
    netScores_.push_back(ReadNumber(end, kNetBox, "net score"));
    checks_.ExpectEqual(netScores_.back(), MatchScore(table) - ClickCost(table),
                        "Net Score = match points - click cost");
}

void Suite::TimedOutGame(const Shot& board) {
    checks_.Group("Game 4: two blocks matched, then the time runs out");
    Table table = ReadTable(board);
    std::vector<int> open = table.OpenBlocks();
    std::stable_sort(open.begin(), open.end(), [&](int x, int y) {
        return Routes(table.code[static_cast<std::size_t>(x)], table.code[kMaster], 0)
                   .front()
                   .size() < Routes(table.code[static_cast<std::size_t>(y)], table.code[kMaster], 0)
                                 .front()
                                 .size();
    });
    PlayMoves(table, Plan(table, {open[0], open[1]}, 1));
    AwaitStrip(table, false);
    const qint64 lastPress = lastPress_;
    const Shot end = WaitFor(
        "the time to run out", 120,
        [&](const Shot& s) { return On(s).SecondsLeft() == std::optional<int>(0); }, 0.3);
    lastShot_ = end;
    Save(end, "08-timed-out.png");
    const Screen screen = On(end);
    checks_.Expect(screen.BonusAbsent(), "no bonus when the time runs out");
    checks_.ExpectEqual(ReadNumber(end, kMatchBox, "match score"), MatchScore(table),
                        "Match Score shows the two matches");
    checks_.ExpectEqual(ReadNumber(end, kCostBox, "click cost"), ClickCost(table),
                        "Click Cost is the cost of the player's moves");
    netScores_.push_back(ReadNumber(end, kNetBox, "net score"));
    checks_.ExpectEqual(netScores_.back(), MatchScore(table) - ClickCost(table),
                        "Net Score = match points - click cost");
    int open11 = 0;
    for (int k = 1; k < kBlocks; ++k) {
        open11 += screen.Block(k).frame == Frame::kNone ? 1 : 0;
    }
    checks_.ExpectEqual(open11, 9, "the nine other blocks stay open");
    Later([=, this](const SoundLog& log) {
        const auto bell = log.FirstAfter(158, lastPress);
        const auto deal = log.LastBefore(154, lastPress);
        if (!checks_.Expect(bell && deal, "158 rings when the time is up",
                            log.Timeline(lastPress, end.framesAfter))) {
            return;
        }
        // The clock counts whole seconds from the end of the deal sound; SDL's disk
        // driver runs about 1% fast, and slower when the machine is busy.
        const double length = Seconds(bell->start - deal->End());
        checks_.Expect(length >= 103.5 && length <= 107.5,
                       "the game lasts 105 s from the end of the deal sound",
                       Fixed(length) + " s of recording from 154 to 158");
    });
}

void Suite::Recap() {
    checks_.Group("End of the set: the recap");
    Shot recap;
    const bool shown = Within(
        "six red-framed boxes along the bottom and the yellow column show", 10,
        [&](const Shot& s) { return On(s).RecapShown(); }, &recap);
    Save(recap, "10-recap.png");
    if (!shown) {
        throw Abort("no recap to read");
    }
    const std::vector<std::string> names = {"Average", "Game 5", "Game 4",
                                            "Game 3",  "Game 2", "Game 1"};
    long sum = 0;
    for (long s : netScores_) {
        sum += s;
    }
    const long average = (sum + 4) / 5;
    for (int i = 0; i < 6; ++i) {
        const long shown =
            ReadNumber(recap, layout_.RecapBox(i), names[static_cast<std::size_t>(i)]);
        const long expected = i == 0 ? average : netScores_[static_cast<std::size_t>(5 - i)];
        checks_.ExpectEqual(shown, expected,
                            names[static_cast<std::size_t>(i)] + " shows " +
                                (i == 0 ? "the average of the five" : "that game's net score"));
    }

    checks_.Group("Another set: a click on the yellow column");
    const Box column = layout_.AnotherSetColumn();
    const qint64 click = desktop_->RecordedFrames();
    desktop_->Click(layout_.view +
                    QPoint((column.left + column.right) / 2, (column.top + column.bottom) / 2));
    lastPress_ = click;
    const Deal deal = AwaitFirstDeal("the new set's board");
    Save(deal.board, "12-new-set-board.png");
    CheckDealSound(deal, click, true);
    CheckFreshGame(deal.board, 6);
}

Table Suite::ReadTable(const Shot& shot) {
    return e2e::ReadTable(On(shot));
}

std::vector<Move> Suite::Plan(const Table& table, std::vector<int> blocks, int variant) {
    const auto moves = PlanMatches(table, std::move(blocks), variant);
    if (!moves) {
        throw Abort("no order of moves matches these blocks without a collision");
    }
    return *moves;
}

void Suite::PlayMoves(Table& table, const std::vector<Move>& moves) {
    e2e::PlayMoves(*desktop_, layout_, digits_, table, moves,
                   [this] { lastPress_ = desktop_->RecordedFrames(); });
    std::cout << "  " << moves.size() << " moves, each showing the shapes the player expected\n";
}

Shot Suite::AwaitStrip(const Table& table, bool bonus) {
    const long match = MatchScore(table);
    const long cost = ClickCost(table);
    std::optional<long> seenMatch;
    std::optional<long> seenCost;
    std::optional<long> seenNet;
    auto text = [](const std::optional<long>& v) { return v ? std::to_string(*v) : "?"; };
    Shot shot;
    Within(
        "Match Score " + std::to_string(match) + ", Click Cost " + std::to_string(cost) +
            (bonus ? "" : ", Net Score their difference"),
        3,
        [&](const Shot& s) {
            const Screen screen = On(s);
            seenMatch = screen.Number(kMatchBox);
            seenCost = screen.Number(kCostBox);
            seenNet = screen.Number(kNetBox);
            return seenMatch == match && seenCost == cost &&
                   (bonus || seenNet == std::optional<long>(match - cost));
        },
        &shot,
        [&] {
            return "saw Match Score " + text(seenMatch) + ", Click Cost " + text(seenCost) +
                   ", Net Score " + text(seenNet);
        });
    return shot;
}

long Suite::ReadNumber(const Shot& shot, const Box& box, const std::string& what) {
    std::string problem;
    const auto value = On(shot).Number(box, &problem);
    if (!value) {
        Save(shot, "unreadable.png");
        throw Abort("cannot read the " + what + ": " + problem);
    }
    return *value;
}

int Suite::ReadSeconds(const Shot& shot) {
    std::string problem;
    const auto value = On(shot).SecondsLeft(&problem);
    if (!value) {
        Save(shot, "unreadable.png");
        throw Abort("cannot read the time left: " + problem);
    }
    return *value;
}

Shot Suite::WaitFor(const std::string& what, double seconds,
                    const std::function<bool(const Shot&)>& done, double pause) {
    return desktop_->Await(what, seconds, done, pause);
}

bool Suite::Within(const std::string& check, double seconds,
                   const std::function<bool(const Shot&)>& done, Shot* shot,
                   const std::function<std::string()>& detail) {
    Shot last;
    bool ok = true;
    try {
        last = WaitFor(check, seconds, [&](const Shot& s) {
            last = s;
            return done(s);
        });
    } catch (const Abort&) {
        if (!desktop_->GameRunning()) {
            throw;
        }
        ok = false;
    }
    if (shot != nullptr) {
        *shot = last;
    }
    checks_.Expect(ok, check, ok || !detail ? std::string() : detail());
    return ok;
}

void Suite::Save(const Shot& shot, const std::string& name) {
    shot.image.save(options_.out + "/" + QString::fromStdString(name), "PNG");
}

void Suite::Later(std::function<void(const SoundLog&)> check) {
    later_.emplace_back(checks_.CurrentGroup(), std::move(check));
}

}  // namespace tessaform::e2e
