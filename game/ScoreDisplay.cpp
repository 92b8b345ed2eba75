#include "ScoreDisplay.h"

#include "DisplayManager.h"

ScoreDisplay::ScoreDisplay()
{
    score = 0;
    setAltitude(1);
    setSolidity(lu::PASSABLE);
}

void ScoreDisplay::setScore(int newScore)
{
    score = newScore;
}

int ScoreDisplay::getScore() const
{
    return score;
}

int ScoreDisplay::draw()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    std::string text = SCORE_LABEL + std::to_string(score);
    lu::Vector where(display.getHorizontalCells() / 2 + 1, SCORE_ROW);
    display.drawString(where, text, lu::WHITE);
    return 0;
}
