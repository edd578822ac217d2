// The real orvex window under the virtual X server, driven as a user would
// (xdotool sends keys through the X test extension): its progress lines while
// it is up, its size and background, the keys, what quitting saves and what
// closing the window does not.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "scratch_dir.h"

using testing_support::fileText;

namespace {

// Whether `done` came true within `seconds`, asked every 50 ms.
bool waitFor(const std::function<bool()>& done, int seconds = 5)
{
    for (int tries = 0; tries < seconds * 20;
         ++tries, std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (done())
            return true;
    return done();
}

// orvex on one SRTM30 block of level land at 0 m with the default colours,
// in a working directory of its own.
class ViewerWindowTest : public testing::Test {
  protected:
    void SetUp() override
    {
        if (!display || std::system("command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "needs an X display (the tests run under xvfb-run) and xdotool";
        testing_support::writeFile(dir.file("e100n40.dem"), "");
        std::filesystem::resize_file(dir.file("e100n40.dem"), 6000 * 9600);
        testing_support::writeFile(dir.file("orvex.col"),
                                   "2 0 9  0 250 0  120 250 140  120 190 140  160 190 120  "
                                   "150 190 180  200 190 200  230 230 230  0 0 255  200 200 255\n");
    }
    void TearDown() override
    {
        if (pid > 0)
            kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        if (display)
            XCloseDisplay(display);
    }
    // Starts orvex with its standard output to `output`; its window once the
    // first frame is up (the window is black before), or 0.
    Window start(const std::string& output = "/dev/null")
    {
        if ((pid = fork()) == 0) {
            const int quiet = open("/dev/null", O_RDWR), out = open(output.c_str(), O_WRONLY | O_CREAT, 0644);
            if (chdir(dir.path().c_str()) == 0 && dup2(quiet, 0) == 0 && dup2(out, 1) == 1 &&
                dup2(quiet, 2) == 2)
                execl(ORVEX_PROGRAM, ORVEX_PROGRAM, "-srtm30", ".", "10", "56", "10", "56", nullptr);
            _exit(127);
        }
        Window shown = 0;
        waitFor(
            [&] {
                Window root, parent, *children = nullptr;
                unsigned count = 0;
                XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
                for (unsigned i = 0; i < count && !shown; ++i)
                    shown = corner(children[i]) > 0 ? children[i] : 0;
                return XFree(children), shown != 0;
            },
            20);
        return shown;
    }
    // The top-left pixel of a shown window as 0xRRGGBB, and its size; zeros for a window not shown.
    std::tuple<unsigned long, int, int> look(Window window)
    {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable)
            return {0, 0, 0};
        XImage* image = XGetImage(display, window, 0, 0, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image ? XGetPixel(image, 0, 0) & 0xffffff : 0;
        return image ? XDestroyImage(image) : 0, std::tuple(pixel, a.width, a.height);
    }
    unsigned long corner(Window window) { return std::get<0>(look(window)); }
    // The exit status within five seconds, or -1.
    int waitForEnd()
    {
        int status = -1;
        const bool ended = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; });
        return ended ? (pid = -1, WIFEXITED(status) ? WEXITSTATUS(status) : 128) : -1;
    }
    std::string title(Window window)
    {
        char* name = nullptr;
        std::string text;
        if (XFetchName(display, window, &name) && name)
            text = name, XFree(name);
        return text;
    }
    // Sends input and waits until the title changes from `before`; the new title.
    std::string titleAfter(Window window, const std::string& input, const std::string& before)
    {
        xdotool(input);
        std::string now;
        waitFor([&] { return (now = title(window)) != before; }, 3);
        return now;
    }
    static void xdotool(const std::string& arguments)
    {
        [[maybe_unused]] const int status = std::system(("xdotool " + arguments + " 2>/dev/null").c_str());
    }

    Display* display = XOpenDisplay(nullptr);
    testing_support::ScratchDir dir;
    pid_t pid = -1;
};

TEST_F(ViewerWindowTest, OnlyQuittingSavesTheWindowSizeSwitches)
{
    Window window = start(dir.file("output"));
    ASSERT_NE(window, 0u);
    // The progress lines reach a redirected output while the window is up.
    EXPECT_TRUE(waitFor([&] { return fileText(dir.file("output")) == "Reading ./e100n40.dem ...\n"; }))
        << "standard output held back: \"" << fileText(dir.file("output")) << '"';
    EXPECT_EQ(look(window), std::tuple(0xc8c8ffUL, 700, 550)); // the background: the last colour entry
    xdotool("windowsize " + std::to_string(window) + " 520 410");
    ASSERT_TRUE(waitFor([&] { return look(window) == std::tuple(0xc8c8ffUL, 520, 410); }));
    // Modifier keys alone do nothing (right Shift would read as q, Num Lock as
    // m); with Num Lock on, Shift still counts.
    xdotool("mousemove --window " + std::to_string(window) +
            " 350 275 key --delay 60 Shift_R Control_L Alt_L Num_Lock m s shift+s shift+s Num_Lock q");
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(fileText(dir.file("orvex.env")), "2 0\n520 410\n0.950\n250.0 30.0\n1\n1\n");
    ASSERT_NE(window = start(), 0u);
    EXPECT_EQ(std::get<1>(look(window)), 520); // back at its last size
    testing_support::writeFile(dir.file("orvex.env"), "untouched");
    XEvent close{}; // what a window manager's close button sends
    close.xclient = {
        ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &close), XSync(display, False);
    EXPECT_NE(waitForEnd(), -1) << "closing the window should end the viewer";
    EXPECT_EQ(fileText(dir.file("orvex.env")), "untouched");
}

TEST_F(ViewerWindowTest, TheTitleFollowsTheEyeTheWheelStepsAsZAndPSavesTheWindowsPixels)
{
    const Window window = start(dir.file("output"));
    ASSERT_NE(window, 0u);
    const std::string w = std::to_string(window);
    // The home view: the eye south of the block (35-40 N, 100-105 E), facing north.
    const std::string home = title(window);
    EXPECT_TRUE(home.starts_with("ORVEX  3") && home.find(" N 10") != std::string::npos &&
                home.ends_with(" m (outside the area)  heading 0  speed x1"))
        << home;
    xdotool("mousemove --window " + w + " 350 275");
    const std::string forward = titleAfter(window, "key z", home);
    EXPECT_NE(forward, home);
    EXPECT_EQ(titleAfter(window, "key shift+z", forward), home);
    EXPECT_EQ(titleAfter(window, "click 4", home), forward) << "the wheel away from you steps as z";
    EXPECT_EQ(titleAfter(window, "click 5", forward), home) << "and towards you as Shift+z";
    // From straight above the grid's centre (its last row lies one row north
    // of 35 N): over the level land at 0 m.
    const std::string top = titleAfter(window, "key x", titleAfter(window, "key t", home));
    EXPECT_TRUE(top.starts_with("ORVEX  37.5042 N 102.5") &&
                top.ends_with(" m above ground)  heading 0  speed x2"))
        << top;

    xdotool("key p");
    std::string saved;
    ASSERT_TRUE(
        waitFor([&] { return (saved = fileText(dir.file("output"))).find("Saved ") != std::string::npos; }));
    const std::size_t at = saved.find("Saved ") + 6;
    const std::string name = saved.substr(at, saved.find('\n', at) - at);
    EXPECT_TRUE(name.starts_with("orvex-") && name.ends_with(".png") && name.size() == 25) << name;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, dir.file(name).c_str())) << name;
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(std::pair(png.width, png.height), std::pair(700u, 550u));
    XImage* shown = XGetImage(display, window, 0, 0, 700, 550, AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    long differ = 0, background = 0;
    for (int y = 0; y < 550; ++y)
        for (int x = 0; x < 700; ++x) {
            const unsigned char* p = &pixels[(y * 700 + x) * 3];
            const unsigned long rgb = (p[0] << 16) | (p[1] << 8) | p[2];
            differ += rgb != (XGetPixel(shown, x, y) & 0xffffff);
            background += rgb == 0xc8c8ff;
        }
    XDestroyImage(shown);
    EXPECT_EQ(differ, 0) << "the picture holds exactly the window's pixels";
    EXPECT_GT(background, 1000); // the sky around the land
    xdotool("key q");
    EXPECT_EQ(waitForEnd(), 0);
}

} // namespace
