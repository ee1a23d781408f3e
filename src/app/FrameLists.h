#pragma once

#include <functional>
#include <string>
#include <vector>

class Camera;
class Drawable;
class Geometry;

// What the frame draws, pass by pass, in drawing order. The application
// builds it once at the end of content loading (AppMain::buildFrameLists is
// the one place that orders anything); each pass walks its own list and never
// names an object. An object joins a pass by being added to that pass's list.
// Nothing here is owned.
struct FrameLists {
    // A geometry's way to the GL: its program by registry name and whether
    // its entries bind their textures.
    struct Preparation {
        Geometry* geometry;
        std::string program;
        bool textured;
    };

    // One player's share of the velocity pass: the car that the camera
    // follows is drawn unblurred, so each player's objects are drawn under
    // that player's blur rule.
    struct PlayerVelocity {
        int player; // 1 or 2, as the camera path names the player it follows
        std::vector<Drawable*> objects;
    };

    // A transparent effect draws itself through the camera in one call.
    using Effect = std::function<void(const Camera&)>;

    std::vector<Preparation> preparation; // loading, in the order the models reach the GL
    std::vector<Drawable*> lightReceivers; // every frame: the lights' texture matrices
    std::vector<Drawable*> shadowCasters;  // pass 1, once per light
    std::vector<Drawable*> cubeContents;   // pass 3, around the reflective object
    std::vector<Drawable*> phongLit;       // pass 4 with "phong"
    std::vector<Drawable*> parallaxLit;    // pass 4 with "parallax"
    std::vector<Effect> transparentEffects; // pass 4, after everything opaque
    std::vector<Drawable*> velocity;       // pass 5, before the players
    std::vector<PlayerVelocity> playerVelocity; // pass 5, player 1 then player 2
};
