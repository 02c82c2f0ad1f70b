// The real program on a private X display: its main window must show the menu bar, the
// shortcut bar and the site tree, not an empty frame.
#include "common/temp_dir.h"
#include "program_profile.h"
#include "program_run.h"

#include <QColor>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

#include <fstream>

namespace kv::test {
namespace {

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

std::optional<WindowGeometry> GeometryOf(const XvfbDisplay& display, const std::string& window)
{
    std::string output;
    if (!RunCommand("DISPLAY=" + display.name() + " xdotool getwindowgeometry --shell " + window, &output))
        return std::nullopt;
    WindowGeometry geometry;
    auto field = [&output](const std::string& name) {
        std::size_t at = output.find(name + "=");
        return at == std::string::npos ? -1 : std::atoi(output.c_str() + at + name.size() + 1);
    };
    geometry.x = field("X");
    geometry.y = field("Y");
    geometry.width = field("WIDTH");
    geometry.height = field("HEIGHT");
    if (geometry.width <= 0 || geometry.height <= 0)
        return std::nullopt;
    return geometry;
}

int DistinctColours(const QImage& image, const QRect& region)
{
    QSet<QRgb> colours;
    const QRect inside = region.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

TEST(MainWindowScreenshot, ShowsTheMenuTheBarAndTheTree)
{
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
        if (!ProgramOnPath(tool))
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
    }
    if (!std::filesystem::exists(ProgramPath()))
        GTEST_SKIP() << "the program is not built: " << ProgramPath();

    TempDir root;
    MakeProgramProfile(root / "config", root / "profile", 60, 6);

    XvfbDisplay display(1280, 1024);
    ASSERT_TRUE(display.ready()) << "Xvfb did not start";
    auto program = StartProgram(display, root.path(), root / "program.log");
    ChildProcess& app = *program;
    ASSERT_TRUE(app.started());
    std::string window;
    ASSERT_TRUE(WaitFor(
        [&] { return !(window = display.visibleWindow(MainWindowTitle())).empty() || !app.running(); },
        std::chrono::seconds(30)))
        << "the main window did not appear";
    if (!app.running()) {
        std::ifstream log(root / "program.log");
        FAIL() << "the program ended before its window showed:\n" << log.rdbuf();
    }
    auto geometry = GeometryOf(display, window);
    ASSERT_TRUE(geometry);

    std::filesystem::create_directories(std::filesystem::path(KV_BINARY_DIR) / "screenshots");
    const std::string shot =
        (std::filesystem::path(KV_BINARY_DIR) / "screenshots" / "main_window.png").string();
    const QRect frame(geometry->x, geometry->y, geometry->width, geometry->height);
    const QRect menu(frame.left(), frame.top(), frame.width(), 20);
    const QRect bar(frame.left(), frame.top() + 30, 150, frame.height() - 60);
    const QRect tree(frame.left() + 170, frame.top() + 50, frame.width() - 200, frame.height() / 2);
    QImage image;
    // The window is mapped before it has painted; wait until all three parts show.
    const bool painted = WaitFor(
        [&] {
            if (!RunCommand("import -display " + display.name() + " -window root " + shot + " 2>/dev/null"))
                return false;
            image = QImage(QString::fromStdString(shot));
            return !image.isNull() && DistinctColours(image, menu) >= 3 && DistinctColours(image, bar) >= 8 &&
                   DistinctColours(image, tree) >= 4;
        },
        std::chrono::seconds(20), std::chrono::milliseconds(200));
    ASSERT_FALSE(image.isNull()) << "no screenshot at " << shot;
    EXPECT_TRUE(painted) << "menu " << DistinctColours(image, menu) << ", bar " << DistinctColours(image, bar)
                         << ", tree " << DistinctColours(image, tree) << " distinct colours; see " << shot;
}

} // namespace
} // namespace kv::test
