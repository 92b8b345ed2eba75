#pragma once

#include "Object.h"

#include <string>

const std::string SCORE_LABEL = "Score: ";
const int SCORE_ROW = 2;

/// The score line at the top of the field; shows the number the level sets.
class ScoreDisplay : public lu::Object {
public:
    /// Makes the display with score 0.
    ScoreDisplay();

    /// Sets the number shown.
    void setScore(int score);

    /// Returns the number shown.
    int getScore() const;

    /// Draws SCORE_LABEL and the score centred just right of the middle of SCORE_ROW; returns 0.
    int draw() override;

private:
    int score;
};
