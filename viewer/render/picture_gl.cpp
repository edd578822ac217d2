#include "render/picture_gl.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <ctime>
#include <vector>

#include "data/picture_file.h"
#include "render/frame_gl.h"

namespace orvex {

std::optional<std::string> savePicture()
{
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    const std::string name = pictureFileName(std::time(nullptr));
    std::string error = "the window has no area";
    if (width > 0 && height > 0) {
        drawFullDetailFrame();
        glFinish();
        std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glutSwapBuffers(); // a moving frame on the screen gives way to the picture saved
        if (writePictureFile(name, width, height, rgb.data(), true, error)) {
            std::printf("Saved %s\n", name.c_str());
            std::fflush(stdout);
            return name;
        }
    }
    std::printf("*** %s not saved: %s.\n", name.c_str(), error.c_str());
    std::fflush(stdout);
    return std::nullopt;
}

} // namespace orvex
