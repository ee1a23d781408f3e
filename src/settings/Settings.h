#pragma once

#include <cstdint>

// The process-wide settings: written by the program entry and the developer
// keys, read by every subsystem that draws, moves or shows them.
extern int windowWidth;          // pixels
extern int windowHeight;         // pixels
extern int maxWidth;             // largest full-screen width accepted
extern int maxHeight;            // largest full-screen height accepted
extern int windowMode;           // GLFW_WINDOW or GLFW_FULLSCREEN
extern int numPlayers;
extern double deltaTime;         // seconds the previous frame took
extern bool soundMuted;
extern bool showStatusOverlay;
extern unsigned int drawMode;    // GL_TRIANGLES, or GL_LINE_STRIP for wire frame
extern bool frustumCulling;
extern bool transparency;
extern double framesPerSecond;
extern std::uint32_t drawCounter; // lit geometry draw calls in the current frame
