// The real orvex window under the virtual X server: its size and place, the
// background, keys and the menu pressed as a user would, what quitting saves
// and what closing the window does not.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <set>
#include <thread>
#include <vector>

#include "../test_files.h"

using namespace orvex;

namespace {

using namespace std::chrono_literals;

// xdotool drives the keyboard and the pointer through the X test extension, as a user's.
void xdotool(const std::string& arguments)
{
    [[maybe_unused]] const int status = std::system(("xdotool " + arguments + " 2>/dev/null").c_str());
}

// orvex on one GSI 50 m sheet of hills with the default colours, in a
// working directory of its own.
class ViewerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!display)
            GTEST_SKIP() << "no X display (these tests run under xvfb-run)";
        if (std::system("command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "xdotool is not installed";
        std::string sheet = "sheet header\n";
        char field[16];
        for (int row = 0; row < 200; ++row) {
            std::snprintf(field, sizeof field, "%6d%3d", 533945, row);
            sheet += field;
            for (int col = 0; col < 200; ++col) {
                std::snprintf(field, sizeof field, "%5d",
                              int(9000 + 7000 * std::sin(row / 23.0) * std::cos(col / 31.0)));
                sheet += field;
            }
            sheet += "\n";
        }
        writeFile(dir.file("GSI/DATA/5339/533945.MEM"), sheet);
        writeFile(dir.file("MtJapan.txt"), "35.423600 139.411500 2600.0 0 TestPeak\n");
        writeFile(dir.file("orvex.col"),
                  "2 0 9  0 250 0  120 250 140  120 190 140  160 190 120  150 190 180  "
                  "200 190 200  230 230 230  0 0 255  200 200 255\n");
    }
    void TearDown() override
    {
        if (pid > 0)
            kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        if (display)
            XCloseDisplay(display);
    }

    // The top-level windows that are shown: orvex's, and its menu while it is open.
    std::vector<Window> shownWindows()
    {
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        std::vector<Window> shown;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable)
                shown.push_back(children[i]);
        }
        XFree(children);
        return shown;
    }
    // Starts orvex and returns its window once the first frame is up (the
    // window is black before), or 0.
    unsigned long start()
    {
        pid = fork();
        if (pid == 0) {
            const int quiet = open("/dev/null", O_RDWR);
            if (chdir(dir.path().c_str()) != 0 || quiet < 0)
                _exit(126);
            dup2(quiet, 0), dup2(quiet, 1), dup2(quiet, 2);
            execl(ORVEX_PROGRAM, ORVEX_PROGRAM, "-gsi50", "GSI", "533945", "1", "1",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int tries = 0; tries < 400; ++tries, std::this_thread::sleep_for(50ms))
            for (const Window window : shownWindows())
                if (pixels(window).at(0) != 0)
                    return window;
        return 0;
    }
    // The exit status within five seconds, or -1.
    int waitForEnd()
    {
        int status = 0;
        for (int tries = 0; tries < 100; ++tries, std::this_thread::sleep_for(50ms))
            if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid)
                return pid = -1, WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        return -1;
    }
    void keys(unsigned long window, const std::string& names)
    {
        xdotool("mousemove --window " + std::to_string(window) + " 350 275 key --delay 60 " + names);
        std::this_thread::sleep_for(250ms);
    }
    // Position and size of a window on the screen.
    std::vector<int> geometry(unsigned long window)
    {
        XWindowAttributes a{};
        Window child;
        int x = -1, y = -1;
        XGetWindowAttributes(display, window, &a);
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
        return {x, y, a.width, a.height};
    }
    // The window's pixels as 0xRRGGBB.
    std::vector<unsigned long> pixels(unsigned long window)
    {
        const std::vector<int> g = geometry(window);
        std::vector<unsigned long> out;
        if (XImage* image = XGetImage(display, window, 0, 0, g[2], g[3], AllPlanes, ZPixmap)) {
            for (int y = 0; y < g[3]; ++y)
                for (int x = 0; x < g[2]; ++x)
                    out.push_back(XGetPixel(image, x, y) & 0xffffff);
            XDestroyImage(image);
        }
        out.resize(std::max<std::size_t>(out.size(), 1));
        return out;
    }

    Display* display = XOpenDisplay(nullptr);
    ScratchDir dir;
    pid_t pid = -1;
};

TEST_F(ViewerWindowTest, OpensAt700x550TopLeftShadedAndComesBackAtItsLastSize)
{
    unsigned long window = start();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(geometry(window), (std::vector<int>{0, 0, 700, 550}));
    const std::vector<unsigned long> home = pixels(window);
    EXPECT_EQ(home.front(), 0xc8c8ffu); // the background: the last colour entry
    EXPECT_GT(std::set<unsigned long>(home.begin(), home.end()).size(), 200u) << "shaded terrain";
    xdotool("windowsize " + std::to_string(window) + " 520 410");
    keys(window, "q");
    EXPECT_EQ(waitForEnd(), 0);
    const std::string saved = "2 0\n520 410\n1.000\n250.0 30.0\n1\n0\n";
    EXPECT_EQ(fileText(dir.file("orvex.env")), saved);
    ASSERT_NE(window = start(), 0u);
    EXPECT_EQ(geometry(window), (std::vector<int>{0, 0, 520, 410}));
    writeFile(dir.file("orvex.env"), "");
    keys(window, "Escape");
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(fileText(dir.file("orvex.env")), saved);
}

TEST_F(ViewerWindowTest, ShiftQSavesTheViewStateAndClosingTheWindowDoesNot)
{
    unsigned long window = start();
    ASSERT_NE(window, 0u);
    keys(window, "shift+q");
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(fileText(dir.file("orvex.env")), "2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n");
    writeFile(dir.file("orvex.env"), "untouched");
    ASSERT_NE(window = start(), 0u);
    XEvent close{}; // what a window manager's close button sends
    close.xclient = {
        ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &close);
    XSync(display, False);
    EXPECT_NE(waitForEnd(), -1) << "closing the window should end the viewer";
    EXPECT_EQ(fileText(dir.file("orvex.env")), "untouched");
}

TEST_F(ViewerWindowTest, KeysAndMenuEntriesActModifierKeysAloneDoNothingExitSaves)
{
    const unsigned long window = start();
    ASSERT_NE(window, 0u);
    std::vector<unsigned long> last = pixels(window);
    for (const char* sequence : {"t", "Left Left Up", "n", "r r r r r r r r r r"}) {
        keys(window, sequence);
        EXPECT_NE(pixels(window), last) << sequence << " should change the picture";
        last = pixels(window);
    }
    keys(window, "Shift_R Control_L Alt_L Num_Lock"); // right Shift alone would read as q, left Ctrl as r
    ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "a modifier key alone ended the viewer";
    EXPECT_EQ(pixels(window), last);
    keys(window, "m h s shift+s shift+s shift+s Num_Lock"); // with Num Lock on, Shift still counts
    // The right button opens the menu at the pointer; releasing over an entry chooses it.
    for (const int entry : {7, 8, 6, 9}) { // names, brighter, colour switch, exit
        xdotool("mousemove --window " + std::to_string(window) + " 100 60 mousedown 3");
        std::this_thread::sleep_for(300ms);
        const std::vector<Window> shown = shownWindows();
        const auto menu = std::find_if(shown.begin(), shown.end(), [&](Window w) { return w != window; });
        ASSERT_NE(menu, shown.end()) << "no menu appeared";
        const std::vector<int> g = geometry(*menu);
        xdotool("mousemove " + std::to_string(g[0] + g[2] / 2) + " " +
                std::to_string(g[1] + g[3] * (2 * entry + 1) / 20) + " sleep 0.15 mouseup 3");
        std::this_thread::sleep_for(300ms);
    }
    EXPECT_EQ(waitForEnd(), 0);
    EXPECT_EQ(fileText(dir.file("orvex.env")), "2 0\n700 550\n0.950\n250.0 30.0\n1\n2\n");
}

} // namespace
