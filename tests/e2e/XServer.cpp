#include "XServer.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const XVFB_PROGRAM = "/usr/bin/Xvfb";
const char* const SCREEN_GEOMETRY = "1280x1024x24";
const int START_ATTEMPTS = 3;
const int READY_TIMEOUT_MS = 15000;
const int CONNECT_RETRY_MS = 50;
const double STOP_TIMEOUT_SECONDS = 5.0;

// Xvfb writes the display number it picked to this descriptor once it accepts connections.
int readDisplayNumber(int fd, int timeoutMs)
{
    std::string text;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (text.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return -1;
        pollfd request = {fd, POLLIN, 0};
        if (poll(&request, 1, static_cast<int>(left.count())) <= 0)
            return -1;
        char buffer[32];
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return -1;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    try {
        return std::stoi(text);
    } catch (...) {
        return -1;
    }
}

bool acceptsConnections(const std::string& displayName, int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        Display* display = XOpenDisplay(displayName.c_str());
        if (display != nullptr) {
            XCloseDisplay(display);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(CONNECT_RETRY_MS));
    }
    return false;
}

} // namespace

XServer::XServer() : displayNumber(-1)
{
}

XServer::~XServer()
{
    stop();
}

bool XServer::start()
{
    for (int attempt = 0; attempt < START_ATTEMPTS; ++attempt) {
        if (startOnce())
            return true;
        stop();
    }
    return false;
}

bool XServer::startOnce()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    // -displayfd makes the server choose a free display number itself, so parallel runs never collide;
    // -noreset keeps it from resetting, and dropping new connections, each time its last client leaves.
    server.reset(new ChildProcess());
    bool started = server->start({XVFB_PROGRAM, "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
                                  SCREEN_GEOMETRY, "-nolisten", "tcp", "-noreset"},
                                 "", {}, "");
    close(pipeEnds[1]);
    if (!started) {
        close(pipeEnds[0]);
        return false;
    }
    displayNumber = readDisplayNumber(pipeEnds[0], READY_TIMEOUT_MS);
    close(pipeEnds[0]);
    if (displayNumber < 0)
        return false;
    return acceptsConnections(getDisplayName(), READY_TIMEOUT_MS);
}

void XServer::stop()
{
    if (server && server->isRunning()) {
        kill(server->getPid(), SIGTERM);
        if (!server->waitForExit(STOP_TIMEOUT_SECONDS))
            server->kill();
    }
    server.reset();
    displayNumber = -1;
}

std::string XServer::getDisplayName() const
{
    if (displayNumber < 0)
        return "";
    return ":" + std::to_string(displayNumber);
}
