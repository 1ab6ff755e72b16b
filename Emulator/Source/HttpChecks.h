#pragma once

#include "HttpRequest.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Velmora
{
// Which names a request may give for this emulator, in Host and in Origin. Loopback names
// (localhost, 127.0.0.0/8, [::1]) always; others only when listed (with --listen-any).
struct HttpAuthority
{
	int port = 0;                       // the port we listen on
	std::vector<std::string> allowed;   // extra host names or addresses, lower case, no port
	bool allows(std::string_view host, int port) const;
};

// The rules a request's head must keep once the library has parsed it: the ones HTTP leaves to
// the server (Host, the target's form, lengths and codings, Expect), the headers we refuse to see
// twice, and where the request comes from. On success the target is put in origin form (an
// absolute-form target naming this server becomes its path) and bKeepAlive is settled.
std::optional<HttpRefusal> checkRequestHead(HttpRequest& request, const HttpAuthority& authority, bool& bExpectsContinue);

// Splits "name[:port]" (a bracketed IPv6 address included) into a lower-case name and a port
// (0 when absent); false when it is not a valid authority.
bool splitAuthority(std::string_view text, std::string& host, int& port);
}
