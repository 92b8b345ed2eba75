#include "PainterRun.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const char* const SCRIPT_FILE = "paint.txt";
const char* const SOUND_FILE = "probe.wav";
const char* const STAGING_PREFIX = "coilwander-paint-";
const int SETTLE_INTERVAL_MS = 100;
const double SHEET_TIMEOUT_SECONDS = 30.0;

} // namespace

std::string gameFolder()
{
    return E2E_GAME_DIR;
}

bool learnGlyphsFromDisplay(ScreenDecoder& decoder, std::string& error)
{
    std::vector<Image> sheets;
    for (int sheet = 0; sheet < ScreenDecoder::glyphSheetCount(); ++sheet) {
        PainterRun painter(ScreenDecoder::glyphSheet(sheet));
        if (!painter.start(error))
            return false;
        sheets.push_back(painter.settledCapture(SHEET_TIMEOUT_SECONDS));
        if (sheets.back().isEmpty()) {
            error = "a glyph sheet never settled on the screen";
            return false;
        }
    }
    return decoder.learn(sheets, error);
}

PainterRun::PainterRun(const std::vector<PaintedText>& texts, const std::string& soundFile)
    : texts(texts), soundFile(soundFile)
{
}

PainterRun::~PainterRun()
{
    run.reset();
    if (!stagingFolder.empty()) {
        std::error_code ignored;
        fs::remove_all(stagingFolder, ignored);
    }
}

bool PainterRun::start(std::string& error)
{
    stagingFolder = makeTemporaryFolder(STAGING_PREFIX);
    if (stagingFolder.empty()) {
        error = "cannot make a staging folder";
        return false;
    }
    std::error_code failure;
    fs::copy_file(fs::path(gameFolder()) / lu::FONT_FILE_DEFAULT, fs::path(stagingFolder) / lu::FONT_FILE_DEFAULT,
                  failure);
    if (failure) {
        error = "cannot copy the game's font: " + failure.message();
        return false;
    }
    std::ofstream script(fs::path(stagingFolder) / SCRIPT_FILE);
    for (const PaintedText& text : texts)
        script << text.column + text.shiftX << ' ' << text.row + text.shiftY << ' ' << static_cast<int>(text.color)
               << ' ' << text.text << '\n';
    script.close();
    std::vector<std::string> arguments = {SCRIPT_FILE};
    if (!soundFile.empty()) {
        fs::copy_file(soundFile, fs::path(stagingFolder) / SOUND_FILE, failure);
        if (failure) {
            error = "cannot copy " + soundFile;
            return false;
        }
        arguments.push_back(SOUND_FILE);
    }
    run.reset(new ProgramRun(stagingFolder, E2E_PAINTER, arguments, {}));
    return run->start(error);
}

Image PainterRun::settledCapture(double timeoutSeconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    Image previous;
    while (std::chrono::steady_clock::now() < deadline) {
        Image current = run->capture();
        if (!current.isEmpty() && current.hasInk() && current.sameAs(previous))
            return current;
        previous = current;
        std::this_thread::sleep_for(std::chrono::milliseconds(SETTLE_INTERVAL_MS));
    }
    return Image();
}

ProgramRun& PainterRun::getRun()
{
    return *run;
}
