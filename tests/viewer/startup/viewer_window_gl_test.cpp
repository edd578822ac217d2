// The real orvex window under the virtual X server: its size and place, the
// background, keys and the menu pressed as a user would, what quitting saves
// and what closing the window does not.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char chunk[256];
        while (fgets(chunk, sizeof chunk, pipe))
            out += chunk;
        pclose(pipe);
    }
    return out;
}

// A working directory with one GSI 50 m sheet of hills (533945: 35.67 .. 35.75 N,
// 139.625 .. 139.75 E), the default colours and one summit; orvex runs in it.
class Viewer {
public:
    Viewer()
    {
        std::string pattern = (fs::temp_directory_path() / "orvex-window-XXXXXX").string();
        dir_ = mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("mkdtemp failed");
        fs::create_directories(dir_ + "/GSI/DATA/5339");
        std::string sheet = "sheet header\n";
        char field[16];
        for (int row = 0; row < 200; ++row) {
            std::snprintf(field, sizeof field, "%6d%3d", 533945, row);
            sheet += field;
            for (int col = 0; col < 200; ++col) {
                const double metres = 900 + 700 * std::sin(row / 23.0) * std::cos(col / 31.0) + 4.0 * row;
                std::snprintf(field, sizeof field, "%5d", static_cast<int>(metres * 10));
                sheet += field;
            }
            sheet += "\n";
        }
        write("GSI/DATA/5339/533945.MEM", sheet);
        write("MtJapan.txt", "35.423600 139.411500 2600.0 0 TestPeak\n");
        colours("200 200 255");
    }
    ~Viewer()
    {
        stop();
        fs::remove_all(dir_);
    }
    void write(const std::string& name, const std::string& text) { std::ofstream(dir_ + "/" + name) << text; }
    std::string read(const std::string& name)
    {
        std::ostringstream text;
        text << std::ifstream(dir_ + "/" + name).rdbuf();
        return text.str();
    }
    void colours(const std::string& background)
    {
        write("orvex.col", "2 0 9  0 250 0  120 250 140  120 190 140  160 190 120  150 190 180  200 190 200"
                           "  230 230 230  0 0 255  " + background + "\n");
    }

    // Starts orvex and returns its window once the first frame is up, or 0.
    unsigned long start()
    {
        pid_ = fork();
        if (pid_ == 0) {
            const int quiet = open("/dev/null", O_RDWR);
            if (chdir(dir_.c_str()) != 0 || quiet < 0)
                _exit(126);
            dup2(quiet, 0), dup2(quiet, 1), dup2(quiet, 2);
            execl(ORVEX_PROGRAM, ORVEX_PROGRAM, "-gsi50", "GSI", "533945", "1", "1", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int tries = 0; tries < 200; ++tries) {
            const unsigned long window = std::strtoul(run("xdotool search --onlyvisible --name '^ORVEX$'").c_str(), nullptr, 10);
            if (window)
                return window;
            std::this_thread::sleep_for(50ms);
        }
        return 0;
    }
    // The exit status within five seconds, or -1.
    int waitForEnd()
    {
        for (int tries = 0; tries < 100 && pid_ > 0; ++tries) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }
    bool running() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    void stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    std::string dir_;
    pid_t pid_ = -1;
};

// Key presses and pointer moves through the X test extension, as a user's.
void keys(unsigned long window, const std::string& names)
{
    run("xdotool mousemove --window " + std::to_string(window) + " 350 275 key --delay 60 " + names);
    std::this_thread::sleep_for(250ms);
}

class ViewerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display)
            GTEST_SKIP() << "no X display (these tests run under xvfb-run)";
        if (run("command -v xdotool").empty())
            GTEST_SKIP() << "xdotool is not installed";
    }
    void TearDown() override
    {
        if (display)
            XCloseDisplay(display);
    }

    // Starts the viewer and waits for its first frame (the window is black before).
    unsigned long start()
    {
        const unsigned long window = viewer.start();
        for (int tries = 0; window && tries < 200 && firstPixel(window) == 0; ++tries)
            std::this_thread::sleep_for(50ms);
        return window;
    }
    unsigned long firstPixel(unsigned long window)
    {
        unsigned long pixel = 0;
        if (XImage* image = XGetImage(display, window, 0, 0, 1, 1, AllPlanes, ZPixmap)) {
            pixel = XGetPixel(image, 0, 0) & 0xffffff;
            XDestroyImage(image);
        }
        return pixel;
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
        return out;
    }
    // The other window that is shown: freeglut's pop-up menu.
    unsigned long shownMenu(unsigned long except)
    {
        Window root, parent, *children = nullptr, found = 0;
        unsigned count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (children[i] != except && XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable)
                found = children[i];
        }
        XFree(children);
        return found;
    }
    // What a window manager's close button sends.
    void close(unsigned long window)
    {
        XEvent event{};
        event.xclient = {ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
    }

    Display* display = XOpenDisplay(nullptr);
    Viewer viewer;
};

TEST_F(ViewerWindowTest, OpensAt700x550TopLeftShadedAndComesBackAtItsLastSize)
{
    unsigned long window = start();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(geometry(window), (std::vector<int>{0, 0, 700, 550}));
    const std::vector<unsigned long> home = pixels(window);
    EXPECT_EQ(home.front(), 0xc8c8ffu);  // the background: the last colour entry
    EXPECT_GT(std::set<unsigned long>(home.begin(), home.end()).size(), 200u) << "shaded terrain";
    run("xdotool windowsize " + std::to_string(window) + " 520 410");
    keys(window, "q");
    EXPECT_EQ(viewer.waitForEnd(), 0);
    EXPECT_EQ(viewer.read("orvex.env"), "2 0\n520 410\n1.000\n250.0 30.0\n1\n0\n");

    window = start();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(geometry(window), (std::vector<int>{0, 0, 520, 410}));
    viewer.colours("255 128 0");
    keys(window, "Escape");
    EXPECT_EQ(viewer.waitForEnd(), 0);
    ASSERT_NE(window = start(), 0u);
    EXPECT_EQ(pixels(window).front(), 0xff8000u);
}

TEST_F(ViewerWindowTest, EveryQuitKeySavesTheViewStateAndClosingTheWindowDoesNot)
{
    for (const char* key : {"q", "shift+q", "Escape"}) {
        viewer.write("orvex.env", "");
        const unsigned long window = start();
        ASSERT_NE(window, 0u);
        keys(window, key);
        EXPECT_EQ(viewer.waitForEnd(), 0) << key;
        EXPECT_EQ(viewer.read("orvex.env"), "2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n") << key;
    }
    viewer.write("orvex.env", "untouched");
    const unsigned long window = start();
    ASSERT_NE(window, 0u);
    close(window);
    EXPECT_NE(viewer.waitForEnd(), -1) << "closing the window should end the viewer";
    EXPECT_EQ(viewer.read("orvex.env"), "untouched");
}

TEST_F(ViewerWindowTest, KeysChangeTheViewAndTheSavedSettingsModifierKeysAloneDoNothing)
{
    const unsigned long window = start();
    ASSERT_NE(window, 0u);
    std::vector<unsigned long> last = pixels(window);
    for (const char* sequence : {"t", "m", "Left Left Up", "b", "n", "r r r r r r r r r r"}) {
        keys(window, sequence);
        const std::vector<unsigned long> now = pixels(window);
        EXPECT_NE(now, last) << sequence << " should change the picture";
        last = now;
    }
    // Right Shift alone would read as q, left Ctrl as r.
    keys(window, "Shift_R Control_L Alt_L Num_Lock");
    EXPECT_EQ(pixels(window), last);
    EXPECT_TRUE(viewer.running()) << "a modifier key alone ended the viewer";
    // Num Lock is on now: Shift still counts.
    keys(window, "m h s shift+s shift+s shift+s Num_Lock q");
    EXPECT_EQ(viewer.waitForEnd(), 0);
    EXPECT_EQ(viewer.read("orvex.env"), "2 0\n700 550\n0.900\n250.0 30.0\n0\n2\n");
}

TEST_F(ViewerWindowTest, MenuEntriesActAndExitSaves)
{
    const unsigned long window = start();
    ASSERT_NE(window, 0u);
    // The right button opens the menu at the pointer; releasing over an entry chooses it.
    for (const int entry : {7, 8, 6, 9}) {  // names, brighter, colour switch, exit
        run("xdotool mousemove --window " + std::to_string(window) + " 100 60 mousedown 3");
        std::this_thread::sleep_for(300ms);
        const unsigned long menu = shownMenu(window);
        ASSERT_NE(menu, 0u) << "no menu appeared";
        const std::vector<int> g = geometry(menu);
        run("xdotool mousemove " + std::to_string(g[0] + g[2] / 2) + " " +
            std::to_string(g[1] + g[3] * (2 * entry + 1) / 20) + " sleep 0.15 mouseup 3");
        std::this_thread::sleep_for(300ms);
    }
    EXPECT_EQ(viewer.waitForEnd(), 0);
    EXPECT_EQ(viewer.read("orvex.env"), "2 0\n700 550\n1.050\n250.0 30.0\n0\n1\n");
}

}  // namespace
