// The about box: dialog units, its contents, and every way to end it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "AppFixture.h"
#include "CAboutDlg.h"

namespace tessaform {
namespace {

TEST(DialogUnits, QuarterCharacterAcrossEighthCharacterDownRoundedToNearest) {
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(MapDialogRect(units, 0, 0, 217, 55), QRect(0, 0, 326, 89));
    // 16.5 and 27.625 round up, 32.5 rounds away from zero.
    EXPECT_EQ(MapDialogRect(units, 11, 17, 20, 20), QRect(17, 28, 30, 33));
    EXPECT_EQ(MapDialogRect(units, 178, 7, 32, 14), QRect(267, 11, 48, 23));
    EXPECT_EQ(MapDialogRect(DialogBaseUnits{7, 16}, 40, 10, 119, 8), QRect(70, 20, 208, 16));
}

TEST(DialogUnits, BaseUnitsGrowWithTheFont) {
    QFont small("Liberation Sans");
    small.setPixelSize(10);
    QFont large = small;
    large.setPixelSize(20);
    const DialogBaseUnits a = BaseUnitsOf(small);
    const DialogBaseUnits b = BaseUnitsOf(large);
    EXPECT_GT(a.x, 0);
    EXPECT_GT(b.x, a.x);
    EXPECT_GT(b.y, a.y);
}

TEST(AboutBox, ShowsCaptionIconVersionNoticeAndADefaultOk) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Tessaform");
    EXPECT_EQ(about.VersionLabel().text(), "Tessaform Version P504");
    EXPECT_FALSE(about.NoticeLabel().text().isEmpty());
    EXPECT_EQ(about.OkButton().text(), "OK");
    EXPECT_TRUE(about.OkButton().isDefault());
    EXPECT_EQ(about.IconLabel().pixmap().size(), QSize(32, 32));

    const DialogBaseUnits units = BaseUnitsOf(about.font());
    EXPECT_EQ(about.size(), MapDialogRect(units, 0, 0, 217, 55).size());
    EXPECT_EQ(about.OkButton().geometry(), MapDialogRect(units, 178, 7, 32, 14));
    EXPECT_EQ(about.VersionLabel().geometry(), MapDialogRect(units, 40, 10, 119, 8));
    EXPECT_EQ(about.IconLabel().pos(), MapDialogRect(units, 11, 17, 20, 20).topLeft());
}

TEST(AboutBox, EveryTextFitsItsControlAndEveryControlTheBox) {
    CAboutDlg about;
    const QRect box(QPoint(0, 0), about.size());
    for (QLabel* label : {&about.VersionLabel(), &about.NoticeLabel()}) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        EXPECT_TRUE(box.contains(label->geometry())) << label->text().toStdString();
        EXPECT_FALSE(label->geometry().intersects(about.OkButton().geometry()));
    }
    EXPECT_TRUE(box.contains(about.IconLabel().geometry()));
    EXPECT_TRUE(box.contains(about.OkButton().geometry()));
}

int RunAboutAndEndItWith(const std::function<void(CAboutDlg&)>& end) {
    CAboutDlg about;
    testing::WhenModalOpens([&](QWidget& modal) {
        auto* box = qobject_cast<CAboutDlg*>(&modal);
        ASSERT_NE(box, nullptr);
        end(*box);
    });
    return about.exec();
}

TEST(AboutBox, OkEnterEscapeAndTheCloseBoxEachEndIt) {
    EXPECT_EQ(RunAboutAndEndItWith([](CAboutDlg& d) { d.OkButton().click(); }), QDialog::Accepted);
    EXPECT_EQ(RunAboutAndEndItWith([](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }),
              QDialog::Accepted);
    EXPECT_EQ(RunAboutAndEndItWith([](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
              QDialog::Rejected);
    EXPECT_EQ(RunAboutAndEndItWith([](CAboutDlg& d) { d.close(); }), QDialog::Rejected);
}

TEST(AboutBox, OpensFromTheHelpMenuOverTheMainWindow) {
    testing::RunningApp run;
    QWidget* parent = nullptr;
    testing::WhenModalOpens([&](QWidget& modal) {
        EXPECT_NE(qobject_cast<CAboutDlg*>(&modal), nullptr);
        parent = modal.parentWidget();
        modal.close();
    });
    QAction* about = run.Frame().MenuBar().actions().at(1)->menu()->actions().at(0);
    about->trigger();
    EXPECT_EQ(parent, &run.Frame());
}

}  // namespace
}  // namespace tessaform
