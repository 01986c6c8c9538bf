#include "app/ui/ToolbarIcons.h"

#include "app/CommandTable.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

// Pixels a picture paints, at the toolbar's size.
int PaintedPixels(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size, size).toImage();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return painted;
}

} // namespace

TEST(ToolbarIcons, EveryButtonOfTheMainToolbarHasAPictureThatPaints) {
    for (int id : CommandTable::Toolbar()) {
        if (id == CommandTable::Separator) {
            continue;
        }
        const QString file = ToolbarIcons::FileOf(id);
        ASSERT_FALSE(file.isEmpty()) << id;
        ToolbarIcons::For(id); // loads the resources
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
        EXPECT_GT(PaintedPixels(ToolbarIcons::For(id), 20), 20) << file.toStdString();
    }
    EXPECT_TRUE(ToolbarIcons::FileOf(CommandTable::Separator).isEmpty());
}
