#pragma once

#include "ProgramRun.h"
#include "ScreenDecoder.h"

#include <memory>
#include <string>
#include <vector>

/// A run of the harness's painter: draws known texts through the engine's display, in a window of its
/// own under its own X server, so the harness can compare what it reads back with what was drawn.
class PainterRun {
public:
    /// Prepares a painter drawing texts in the listed order, playing soundFile once if it is not empty.
    explicit PainterRun(const std::vector<PaintedText>& texts, const std::string& soundFile = "");
    /// Stops the painter and removes its files.
    ~PainterRun();
    PainterRun(const PainterRun&) = delete;
    PainterRun& operator=(const PainterRun&) = delete;

    /// Starts the painter with the game's font; false, with the reason in error, on failure.
    bool start(std::string& error);

    /// Waits until the window shows the same non-blank picture twice in a row and returns it; an empty
    /// image on timeout.
    Image settledCapture(double timeoutSeconds);

    /// Returns the underlying program run.
    ProgramRun& getRun();

private:
    std::vector<PaintedText> texts;
    std::string soundFile;
    std::string stagingFolder;
    std::unique_ptr<ProgramRun> run;
};

/// Learns the reference glyphs from a glyph sheet the painter draws; false, with the reason in error,
/// on failure.
bool learnGlyphsFromDisplay(ScreenDecoder& decoder, std::string& error);

/// Returns the folder of the staged game (the executable beside sprites/, sounds/ and the font).
std::string gameFolder();
