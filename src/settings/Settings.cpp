#include "settings/Settings.h"

#include "settings/WindowModes.h"

int windowWidth = 1280;
int windowHeight = 720;
int maxWidth = 1920;
int maxHeight = 1080;
int windowMode = platform::GLFW_FULLSCREEN;
int numPlayers = 2;
double deltaTime = 0.0;
bool soundMuted = false;
bool showStatusOverlay = false;
unsigned int drawMode = 4; // GL_TRIANGLES
bool frustumCulling = true;
bool transparency = true;
double framesPerSecond = 0.0;
std::uint32_t drawCounter = 0;
