// Which link addresses the program's link labels may hand to the shell.
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

// True for an address that starts with "http://" or "https://" (the scheme
// in any letter case, nothing before it). Link texts can come from the web
// notice feed, so anything else (files, programs, other schemes) is refused.
bool IsWebLink(const String& Url);
