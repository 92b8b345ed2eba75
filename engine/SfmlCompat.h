#pragma once

#include <SFML/Config.hpp>

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

} // namespace lu
