#pragma once

#include "Emulator.h"

namespace Velmora
{
// Requests under /admin/, for tests and tools: guarded by the X-Admin-Key header, never by player
// ownership. Throws ApiError 404 "not_found" / 405 "method_not_allowed" for unknown routes.
Answer handleAdmin(Emulator& emulator, Call& call);
}
