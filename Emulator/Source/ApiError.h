#pragma once

#include "Json.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace Velmora
{
// A refusal: thrown by request handlers, turned into the error body and status by the server.
// Everything it says is meant for a game developer reading a log.
struct ApiError : std::exception
{
	int status = 500;
	std::string code;
	std::string message;
	std::string hint;
	// Members added to the "error" object after "request_id" (for example "current_version").
	Json extra = Json::object();
	std::vector<std::pair<std::string, std::string>> headers;

	ApiError(int inStatus, std::string inCode, std::string inMessage, std::string inHint = {})
		: status(inStatus), code(std::move(inCode)), message(std::move(inMessage)), hint(std::move(inHint))
	{
	}

	const char* what() const noexcept override { return message.c_str(); }
};

// The error body of the game API: {"error": {"code", "message", "hint", "request_id", ...}}.
Json errorBody(const ApiError& error, const std::string& requestId);

ApiError invalidRequest(std::string message, std::string hint = {});
ApiError internalError(const std::string& what);

// Quotes text for a message, as JSON would, so that blanks and odd characters stay visible.
std::string inQuotes(const std::string& text);
}
