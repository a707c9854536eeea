#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "AppFixture.h"
#include "Arrangements.h"

namespace tessaform::testing {
namespace {

// Presses reach the game in the view's own pixels; the second press of a double
// click, which Qt delivers as a double-click event, is not a press.
TEST(ViewInput, ADoubleClickOnAnArrowMovesTheBlockOnce) {
    RunningApp run;
    ASSERT_EQ(run.State().gameOver, 0);
    const int block = 4;
    const int before = run.State().blockArrangement[block];
    const Rect& square = run.State().blockRect[block];
    const QPoint whiteTopArrow(square.left + 80, square.top + 40);

    // A double click as the view gets it: a press and release, then the double click.
    QWidget& view = run.Frame().View();
    QTest::mouseClick(&view, Qt::LeftButton, {}, whiteTopArrow);
    QMouseEvent second(QEvent::MouseButtonDblClick, whiteTopArrow, view.mapToGlobal(whiteTopArrow),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &second);

    EXPECT_EQ(run.State().blockArrangement[block], ApplyArrow(before, 2));
    EXPECT_EQ(run.State().blockClicks[block], 1);

    QTest::mouseClick(&run.Frame().View(), Qt::RightButton, {}, whiteTopArrow);
    EXPECT_EQ(run.State().blockClicks[block], 1) << "only the left button plays";
}

}  // namespace
}  // namespace tessaform::testing
