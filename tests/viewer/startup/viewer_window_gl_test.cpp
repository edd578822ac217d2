// The real orvex window under the virtual X server: its size and place, the
// background, keys and the menu pressed as a user would, what quitting saves
// and what closing the window does not.

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A working directory with one GSI 50 m sheet (533945: 35.67 .. 35.75 N,
// 139.625 .. 139.75 E) of hills, the default colours and one summit.
class ViewerDirectory {
public:
    ViewerDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "orvex-window-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        writeSheet();
        writeColours("200 200 255");
        write("MtJapan.txt", "35.423600 139.411500 2600.0 0 TestPeak\n");
    }
    ~ViewerDirectory()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void writeColours(const std::string& background) const
    {
        write("orvex.col", "2 0\n9\n0 250 0\n120 250 140\n120 190 140\n160 190 120\n150 190 180\n"
                           "200 190 200\n230 230 230\n0 0 255\n" + background + "\n");
    }

private:
    void writeSheet() const
    {
        fs::create_directories(file("GSI/DATA/5339"));
        std::string text = "header line of the sheet\n";
        char field[16];
        for (int row = 0; row < 200; ++row) {
            std::snprintf(field, sizeof field, "%6d%3d", 533945, row);
            text += field;
            for (int col = 0; col < 200; ++col) {
                const double metres = 900 + 700 * std::sin(row / 23.0) * std::cos(col / 31.0) + 4.0 * row;
                std::snprintf(field, sizeof field, "%5d", static_cast<int>(metres * 10));
                text += field;
            }
            text += "\n";
        }
        write("GSI/DATA/5339/533945.MEM", text);
    }

    std::string path_;
};

// orvex started on the sheet, in the background.
class Viewer {
public:
    explicit Viewer(const ViewerDirectory& directory)
    {
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(directory.path().c_str()) != 0)
                _exit(126);
            const int input = open("/dev/null", O_RDONLY);
            const int output = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(input, 0);
            dup2(output, 1);
            dup2(output, 2);
            execl(ORVEX_PROGRAM, ORVEX_PROGRAM, "-gsi50", "GSI", "533945", "1", "1", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Viewer()
    {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Exit status once ended within the time, -1 while still running.
    int waitForEnd(std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!ended_) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() > deadline)
                return -1;
            std::this_thread::sleep_for(20ms);
        }
        return status_;
    }
    bool running() { return waitForEnd(0ms) == -1; }

private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// The X side: finding the window, its geometry, its pixels, closing it.
class Screen {
public:
    Screen() : display_(XOpenDisplay(nullptr)) {}
    ~Screen()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }

    // The viewer's top-level window once it is shown, or 0.
    Window waitForWindow(std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (const Window window = findByName("ORVEX")) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable)
                    return window;
            }
            std::this_thread::sleep_for(50ms);
        }
        return 0;
    }

    void geometry(Window window, int& x, int& y, int& width, int& height)
    {
        XWindowAttributes attributes;
        XGetWindowAttributes(display_, window, &attributes);
        Window child;
        XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        width = attributes.width;
        height = attributes.height;
    }

    Image capture(Window window)
    {
        int x, y, width, height;
        geometry(window, x, y, width, height);
        Image image;
        XImage* pixels = XGetImage(display_, window, 0, 0, width, height, AllPlanes, ZPixmap);
        if (!pixels)
            return image;
        image.width = width;
        image.height = height;
        image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col) {
                const unsigned long pixel = XGetPixel(pixels, col, row);
                unsigned char* out = &image.rgb[(static_cast<std::size_t>(row) * width + col) * 3];
                out[0] = (pixel >> 16) & 0xff;
                out[1] = (pixel >> 8) & 0xff;
                out[2] = pixel & 0xff;
            }
        XDestroyImage(pixels);
        return image;
    }

    // Waits until the window's top-left pixel has this colour (the first frame is drawn).
    bool waitForCorner(Window window, int r, int g, int b, std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const Image image = capture(window);
            if (image.width > 2 && image.at(2, 2)[0] == r && image.at(2, 2)[1] == g && image.at(2, 2)[2] == b)
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    void resize(Window window, int width, int height)
    {
        XResizeWindow(display_, window, width, height);
        XSync(display_, False);
    }

    // What the close button of a window manager sends.
    void close(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XSync(display_, False);
    }

    // Top-level windows that are shown, other than the given one (freeglut's menu).
    Window otherShownWindow(Window except)
    {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; ++i) {
                XWindowAttributes attributes;
                if (children[i] != except && XGetWindowAttributes(display_, children[i], &attributes) &&
                    attributes.map_state == IsViewable)
                    found = children[i];
            }
            XFree(children);
        }
        return found;
    }

private:
    Window findByName(const char* name)
    {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
            return 0;
        for (unsigned int i = 0; i < count && !found; ++i) {
            char* title = nullptr;
            if (XFetchName(display_, children[i], &title) && title) {
                if (std::string(title) == name)
                    found = children[i];
                XFree(title);
            }
        }
        XFree(children);
        return found;
    }

    Display* display_;
};

// Key presses and pointer moves through the X test extension, as a user's.
void xdotool(const std::string& arguments)
{
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void keys(Window window, const std::string& names)
{
    xdotool("mousemove --window " + std::to_string(window) + " 350 275");
    xdotool("key --delay 60 " + names);
    std::this_thread::sleep_for(200ms);
}

// Keeps a screenshot for a person to look at, when asked to.
void keepPicture(const Image& image, const std::string& name)
{
    const char* folder = std::getenv("ORVEX_TEST_PICTURES");
    if (!folder || image.width == 0)
        return;
    std::ofstream out(std::string(folder) + "/" + name + ".ppm", std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
}

std::size_t distinctColours(const Image& image)
{
    std::set<unsigned> seen;
    for (std::size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        seen.insert(image.rgb[i] << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2]);
    return seen.size();
}

class ViewerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!screen.open())
            GTEST_SKIP() << "no X display (these tests run under xvfb-run)";
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xdotool is not installed";
    }

    // Starts the viewer and waits for its first frame.
    Window start(Viewer& viewer, int r = 200, int g = 200, int b = 255)
    {
        const Window window = screen.waitForWindow(20s);
        EXPECT_NE(window, 0u) << "no ORVEX window; console: " << directory.read("console.txt");
        if (window) {
            EXPECT_TRUE(screen.waitForCorner(window, r, g, b, 10s)) << "the first frame did not come";
        }
        (void)viewer;
        return window;
    }

    ViewerDirectory directory;
    Screen screen;
};

TEST_F(ViewerWindowTest, OpensAt700x550TopLeftAndComesBackAtTheSizeItWasLeftAt)
{
    {
        Viewer viewer(directory);
        const Window window = start(viewer);
        ASSERT_NE(window, 0u);
        int x, y, width, height;
        screen.geometry(window, x, y, width, height);
        EXPECT_EQ(width, 700);
        EXPECT_EQ(height, 550);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        const Image home = screen.capture(window);
        keepPicture(home, "window-home");
        EXPECT_GT(distinctColours(home), 200u) << "the terrain should be shaded";

        screen.resize(window, 520, 410);
        std::this_thread::sleep_for(300ms);
        keys(window, "q");
        EXPECT_EQ(viewer.waitForEnd(10s), 0);
    }
    EXPECT_EQ(directory.read("orvex.env"), "2 0\n520 410\n1.000\n250.0 30.0\n1\n0\n");
    {
        Viewer viewer(directory);
        const Window window = start(viewer);
        ASSERT_NE(window, 0u);
        int x, y, width, height;
        screen.geometry(window, x, y, width, height);
        EXPECT_EQ(width, 520);
        EXPECT_EQ(height, 410);
        keys(window, "Escape");
        EXPECT_EQ(viewer.waitForEnd(10s), 0);
    }
}

TEST_F(ViewerWindowTest, BackgroundIsTheLastColourEntry)
{
    directory.writeColours("255 128 0");
    Viewer viewer(directory);
    const Window window = start(viewer, 255, 128, 0);
    ASSERT_NE(window, 0u);
    const Image image = screen.capture(window);
    EXPECT_EQ(image.at(image.width - 3, 3)[1], 128);
    keys(window, "q");
    EXPECT_EQ(viewer.waitForEnd(10s), 0);
}

TEST_F(ViewerWindowTest, EveryQuitKeySavesTheViewStateAndClosingTheWindowDoesNot)
{
    for (const char* key : {"q", "shift+q", "Escape"}) {
        fs::remove(directory.file("orvex.env"));
        Viewer viewer(directory);
        const Window window = start(viewer);
        ASSERT_NE(window, 0u);
        keys(window, key);
        EXPECT_EQ(viewer.waitForEnd(10s), 0) << key;
        EXPECT_EQ(directory.read("orvex.env"), "2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n") << key;
    }
    fs::remove(directory.file("orvex.env"));
    Viewer viewer(directory);
    const Window window = start(viewer);
    ASSERT_NE(window, 0u);
    screen.close(window);
    EXPECT_NE(viewer.waitForEnd(10s), -1) << "closing the window should end the viewer";
    EXPECT_FALSE(fs::exists(directory.file("orvex.env")));
}

TEST_F(ViewerWindowTest, KeysChangeTheViewAndTheSavedSettings)
{
    Viewer viewer(directory);
    const Window window = start(viewer);
    ASSERT_NE(window, 0u);
    const Image home = screen.capture(window);
    keys(window, "t");
    const Image top = screen.capture(window);
    EXPECT_NE(top.rgb, home.rgb) << "t should show the area from above";
    keys(window, "m");
    const Image named = screen.capture(window);
    keepPicture(named, "window-top-names");
    EXPECT_NE(named.rgb, top.rgb) << "m should show the summit's name";
    keys(window, "Left Left Up");
    EXPECT_NE(screen.capture(window).rgb, named.rgb);
    // The modifier keys alone do nothing: right Shift would otherwise read as q.
    keys(window, "Shift_R Control_L Alt_L");
    EXPECT_TRUE(viewer.running()) << "a modifier key alone ended the viewer";
    keys(window, "m h s s shift+s shift+s shift+s");
    keys(window, "q");
    EXPECT_EQ(viewer.waitForEnd(10s), 0);
    EXPECT_EQ(directory.read("orvex.env"), "2 0\n700 550\n0.950\n250.0 30.0\n0\n2\n");
}

TEST_F(ViewerWindowTest, ShiftCountsWithNumLockOn)
{
    Viewer viewer(directory);
    const Window window = start(viewer);
    ASSERT_NE(window, 0u);
    keys(window, "Num_Lock");
    keys(window, "shift+s shift+s shift+s");
    keys(window, "Num_Lock");
    keys(window, "q");
    EXPECT_EQ(viewer.waitForEnd(10s), 0);
    EXPECT_EQ(directory.read("orvex.env"), "2 0\n700 550\n0.850\n250.0 30.0\n1\n0\n");
}

TEST_F(ViewerWindowTest, MenuEntriesActAndExitSaves)
{
    Viewer viewer(directory);
    const Window window = start(viewer);
    ASSERT_NE(window, 0u);
    // Right button down opens the menu at the pointer; releasing over an entry chooses it.
    const auto choose = [&](int entry) {
        xdotool("mousemove --window " + std::to_string(window) + " 100 60");
        xdotool("mousedown 3");
        std::this_thread::sleep_for(300ms);
        const Window menu = screen.otherShownWindow(window);
        ASSERT_NE(menu, 0u) << "no menu appeared";
        int x, y, width, height;
        screen.geometry(menu, x, y, width, height);
        const int entryHeight = height / 10;
        xdotool("mousemove " + std::to_string(x + width / 2) + " " +
                std::to_string(y + entryHeight * entry + entryHeight / 2));
        std::this_thread::sleep_for(150ms);
        xdotool("mouseup 3");
        std::this_thread::sleep_for(300ms);
    };
    choose(7);  // MountainName(M)
    choose(8);  // Light(S): brighter, never darker, from a menu
    choose(6);  // Height(H)
    ASSERT_TRUE(viewer.running());
    choose(9);  // Exit(Q)
    EXPECT_EQ(viewer.waitForEnd(10s), 0);
    EXPECT_EQ(directory.read("orvex.env"), "2 0\n700 550\n1.050\n250.0 30.0\n0\n1\n");
}

}  // namespace
