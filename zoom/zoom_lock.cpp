#include "zoom/zoom_lock.h"

namespace {

NamedMutex g_zoomLock{L"ZOOM_LOCK"};

} // namespace

bool AcquireZoomLock() { return g_zoomLock.Acquire(INFINITE); }

void ReleaseZoomLock() { g_zoomLock.Release(); }
