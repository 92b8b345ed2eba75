#pragma once

#include <SFML/Config.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <string>

// 1 where SFML shapes text (from 3.1 on): a character may then draw several glyphs, or none.
#if SFML_VERSION_MAJOR > 3 || (SFML_VERSION_MAJOR == 3 && SFML_VERSION_MINOR >= 1)
#define LU_SFML_SHAPES_TEXT 1
#else
#define LU_SFML_SHAPES_TEXT 0
#endif

namespace lu {

/// Sets whether an SFML sound or music restarts when it ends.
template <typename Source>
void setSourceLooping(Source& source, bool loop)
{
#if SFML_VERSION_MAJOR >= 3
    source.setLooping(loop);
#else
    source.setLoop(loop);
#endif
}

/// Returns true when an SFML sound or music restarts when it ends.
template <typename Source>
bool isSourceLooping(const Source& source)
{
#if SFML_VERSION_MAJOR >= 3
    return source.isLooping();
#else
    return source.getLoop();
#endif
}

/// The corner and extents of an SFML rectangle, whose fields SFML 3 renamed.
template <typename T>
struct RectEdges {
    T left;
    T top;
    T width;
    T height;
};

/// Returns the corner and extents of an SFML rectangle.
template <typename T>
RectEdges<T> rectEdges(const sf::Rect<T>& rect)
{
#if SFML_VERSION_MAJOR >= 3
    return RectEdges<T>{rect.position.x, rect.position.y, rect.size.x, rect.size.y};
#else
    return RectEdges<T>{rect.left, rect.top, rect.width, rect.height};
#endif
}

/// Opens a font file, which SFML 3 calls opening and SFML 2 loading; returns false when it cannot.
inline bool openFontFile(sf::Font& font, const std::string& filename)
{
#if SFML_VERSION_MAJOR >= 3
    return font.openFromFile(filename);
#else
    return font.loadFromFile(filename);
#endif
}

} // namespace lu
