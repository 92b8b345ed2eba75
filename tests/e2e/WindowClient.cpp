#include "WindowClient.h"

#include "ChildProcess.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

const char* const XDOTOOL_PROGRAM = "/usr/bin/xdotool";
const double XDOTOOL_TIMEOUT_SECONDS = 10.0;
const int FIND_RETRY_MS = 20;
const int CONNECT_TIMEOUT_MS = 10000;
const int CONNECT_RETRY_MS = 20;
const int KEY_ATTEMPTS = 5;
const unsigned long FULL_CHANNEL_MASK = 0xff;
const int BITS_PER_BYTE = 8;
const int DIRECT_PIXEL_BITS = 32;

// A window vanishing between two requests is normal here (the program quits); the default handler would
// end the whole test process instead of letting the request fail.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

int lowestSetBit(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

Image imageFromX(XImage* ximage)
{
    Image image(ximage->width, ximage->height);
    int redShift = lowestSetBit(ximage->red_mask);
    int greenShift = lowestSetBit(ximage->green_mask);
    int blueShift = lowestSetBit(ximage->blue_mask);
    bool direct = ximage->bits_per_pixel == DIRECT_PIXEL_BITS && ximage->byte_order == LSBFirst &&
                  (ximage->red_mask >> redShift) == FULL_CHANNEL_MASK &&
                  (ximage->green_mask >> greenShift) == FULL_CHANNEL_MASK &&
                  (ximage->blue_mask >> blueShift) == FULL_CHANNEL_MASK;
    for (int y = 0; y < ximage->height; ++y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(ximage->data) + y * ximage->bytes_per_line;
        for (int x = 0; x < ximage->width; ++x) {
            unsigned long value;
            if (direct) {
                // The common case, read without a function call per pixel.
                const unsigned char* p = row + x * 4;
                value = static_cast<unsigned long>(p[0]) | static_cast<unsigned long>(p[1]) << BITS_PER_BYTE |
                        static_cast<unsigned long>(p[2]) << (2 * BITS_PER_BYTE) |
                        static_cast<unsigned long>(p[3]) << (3 * BITS_PER_BYTE);
            } else {
                value = XGetPixel(ximage, x, y);
            }
            image.setPixel(x, y, static_cast<std::uint8_t>((value & ximage->red_mask) >> redShift),
                           static_cast<std::uint8_t>((value & ximage->green_mask) >> greenShift),
                           static_cast<std::uint8_t>((value & ximage->blue_mask) >> blueShift));
        }
    }
    return image;
}

bool hasTitle(Display* display, Window window, const std::string& title)
{
    char* name = nullptr;
    bool matches = false;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        matches = title == name;
        XFree(name);
    }
    return matches;
}

} // namespace

WindowClient::WindowClient(const std::string& displayName) : display(nullptr), displayName(displayName)
{
    XSetErrorHandler(ignoreXError);
    // A busy server refuses connections for a moment when its queue of new clients is full.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CONNECT_TIMEOUT_MS);
    do {
        errno = 0;
        display = XOpenDisplay(displayName.c_str());
        if (display != nullptr || errno != EAGAIN)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(CONNECT_RETRY_MS));
    } while (std::chrono::steady_clock::now() < deadline);
}

WindowClient::~WindowClient()
{
    if (display != nullptr)
        XCloseDisplay(display);
}

bool WindowClient::isConnected() const
{
    return display != nullptr;
}

unsigned long WindowClient::findWindow(const std::string& title, double timeoutSeconds)
{
    if (display == nullptr)
        return 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
        Window root = DefaultRootWindow(display);
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) != 0) {
            for (unsigned int i = 0; i < count && found == 0; ++i) {
                if (hasTitle(display, children[i], title) && isWindowShown(children[i]))
                    found = children[i];
            }
            if (children != nullptr)
                XFree(children);
        }
        if (found != 0)
            return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(FIND_RETRY_MS));
    } while (std::chrono::steady_clock::now() < deadline);
    return 0;
}

bool WindowClient::isWindowShown(unsigned long window)
{
    if (display == nullptr || window == 0)
        return false;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return false;
    return attributes.map_state == IsViewable;
}

bool WindowClient::focus(unsigned long window)
{
    if (!isWindowShown(window))
        return false;
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(display, &focused, &revert);
    return focused == window;
}

Image WindowClient::capture(unsigned long window)
{
    if (display == nullptr)
        return Image();
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return Image();
    return captureArea(window, 0, 0, attributes.width, attributes.height);
}

Image WindowClient::captureArea(unsigned long window, int x, int y, int width, int height)
{
    if (display == nullptr || width <= 0 || height <= 0)
        return Image();
    XImage* ximage = XGetImage(display, window, x, y, static_cast<unsigned int>(width),
                               static_cast<unsigned int>(height), AllPlanes, ZPixmap);
    if (ximage == nullptr)
        return Image();
    Image image = imageFromX(ximage);
    XDestroyImage(ximage);
    return image;
}

bool WindowClient::requestClose(unsigned long window)
{
    if (!isWindowShown(window))
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0;
}

bool WindowClient::pressKey(const std::string& keyName)
{
    // XTEST input (xdotool without --window) reaches the program like a real keyboard, unlike sent events.
    // xdotool fails before sending anything when the server is too busy to take its connection.
    for (int attempt = 0; attempt < KEY_ATTEMPTS; ++attempt) {
        if (ChildProcess::run({XDOTOOL_PROGRAM, "key", keyName}, {"DISPLAY=" + displayName}, XDOTOOL_TIMEOUT_SECONDS) ==
            0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(CONNECT_RETRY_MS));
    }
    return false;
}
