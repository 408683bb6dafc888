#ifndef WDLC_BUILDREVISION_H
#define WDLC_BUILDREVISION_H

// The source revision the programs were built from, as `git describe
// --always --dirty` gave it at build time ("d1e7e9c", "v1.0-3-gd1e7e9c-dirty"),
// or "unknown" outside a git checkout. The build writes its definition
// (cmake/buildrevision.cmake) into the library wdlrevision.
class BuildRevision
{
public:
    static const char *text();
};

#endif
