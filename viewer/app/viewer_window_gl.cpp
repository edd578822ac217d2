#include "app/viewer_window_gl.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/memory_reuse.h"
#include "render/controls_gl.h"
#include "render/frame_gl.h"
#include "render/position_title_gl.h"
#include "render/terrain_mesh.h"
#include "render/view_rest_gl.h"
#include "state/view_state.h"
#include "state/window_operations.h"

namespace orvex {

void createViewerMenu()
{
    glutCreateMenu(onMenu);
    glutAddMenuEntry("Reset( )", 0);
    glutAddMenuEntry("TopView(T)", 1);
    glutAddMenuEntry("Zoom(B)", 2);
    glutAddMenuEntry("Speed(X)", 3);
    glutAddMenuEntry("Resolution(N)", 4);
    glutAddMenuEntry("Range(R)", 5);
    glutAddMenuEntry("Height(H)", 6);
    glutAddMenuEntry("MountainName(M)", 7);
    glutAddMenuEntry("Light(S)", 8);
    glutAddMenuEntry("Save picture", 10);
    glutAddMenuEntry("Exit(Q)", 9);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void applyProjection(const ViewState& view)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(view.fovy, view.aspect, view.sceneRadius / 100, view.sceneRadius * 100);
}

void onReshape(int width, int height)
{
    // A minimised window reports no area: keep the last projection and size.
    if (width <= 0 || height <= 0)
        return;
    view.aspect = static_cast<double>(width) / height;
    glViewport(0, 0, width, height);
    applyProjection(view);
    view.windowWidth = width;
    view.windowHeight = height;
}

void prepareViewerWindow(int* argc, char** argv)
{
    keepFreedMemoryForReuse();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(view.windowWidth, view.windowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("ORVEX");
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    windowOperations = {applyCamera, applyProjection};
    createViewerMenu();
    relight();
    resetView(view.homePolar, view.homeAzimuth);
    showPositionInTitle();
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutDisplayFunc(onDisplay);
    mergeInputBetweenFrames();
    glutReshapeFunc(onReshape);
}

void openViewerWindow(int* argc, char** argv)
{
    prepareViewerWindow(argc, argv);
    glutMainLoop();
    // freeglut returns from its loop only when told to; the window is gone.
    std::exit(0);
}

} // namespace orvex
