#pragma once

namespace vorelt {

// The scale Qt will draw at, as far as the environment tells it before Qt starts: QT_SCALE_FACTOR,
// QT_SCREEN_SCALE_FACTORS and the variables that let Qt find a scale of its own.
class ToolkitScale {
public:
    // Whether every screen is drawn at a whole scale (1, 2, 3...). False where a variable asks for
    // a fraction or leaves the scale to Qt's reading of the screen, or cannot be read.
    static bool wholeFromEnvironment();
};

}  // namespace vorelt
