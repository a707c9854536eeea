// The about box and the program's icon that it shows.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <set>
#include <tuple>

#include "AppFixture.h"
#include "AppIcon.h"
#include "CAboutDlg.h"
#include "Picture.h"
#include "Resources.h"

namespace tessaform::testing {

constexpr QRgb kM = 0xffff00ff, kB = 0xff0000ff, kY = 0xffffff00, kR = 0xffff0000, kG = 0xff00ff00;

TEST(AboutBox, ShowsItsTextsInFullTheLargeIconAndADefaultOk) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Tessaform");
    EXPECT_EQ(about.VersionLabel().text(), "Tessaform Version P504");
    EXPECT_EQ(about.NoticeLabel().text(), "(C) 2026 the Tessaform developers");
    for (QLabel* label : {&about.VersionLabel(), &about.NoticeLabel(), &about.IconLabel()}) {
        // Each label in the box and clear of OK; a text's advance and the font's height within
        // its label, where the box cuts them.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
        EXPECT_TRUE(about.rect().contains(label->geometry()));
        EXPECT_FALSE(label->geometry().intersects(about.OkButton().geometry()));
    }
    EXPECT_EQ(about.IconLabel().pixmap().toImage().pixel(16, 20), kG) << "the large icon's cross";
    EXPECT_EQ(about.OkButton().text(), "OK");
    EXPECT_TRUE(about.OkButton().isDefault());
    EXPECT_TRUE(about.rect().contains(about.OkButton().geometry()));
    OnNextModal([](QWidget& d) { qobject_cast<CAboutDlg*>(&d)->OkButton().click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

// A blue disc holding a yellow square holding a red triangle holding a green cross, on magenta.
TEST(Icon, BothSizesNestTheFourShapesSymmetrically) {
    const int large = kLargeIconId, small = kSmallIconId;
    const std::tuple<int, int, int, QRgb> points[] = {
        {large, 0, 0, kM},   {large, 16, 5, kB},  {large, 16, 6, kY},  {large, 16, 7, kR},
        {large, 16, 20, kG}, {large, 16, 25, kY}, {large, 16, 29, kB}, {large, 8, 18, kY},
        {large, 11, 18, kR}, {large, 12, 18, kG}, {small, 0, 0, kM},   {small, 8, 1, kB},
        {small, 8, 3, kY},   {small, 8, 5, kR},   {small, 8, 9, kG}};
    for (const int id : {large, small}) {
        const Picture p = DecodeBitmap(FindResource(kIconType, id)).value_or(Picture{});
        for (const auto& [icon, x, y, colour] : points) {
            EXPECT_TRUE(icon != id || p.At(x, y) == colour) << id << " at " << x << "," << y;
        }
        EXPECT_EQ(std::set(p.pixels.begin(), p.pixels.end()), (std::set{kM, kB, kY, kR, kG}));
        const QImage shown = IconPixmap(id).toImage();  // symmetric left to right
        EXPECT_TRUE(shown == shown.mirrored(true, false)) << id;
    }
}

}  // namespace tessaform::testing
