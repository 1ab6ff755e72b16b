#include "ApiError.h"

namespace Velmora
{
Json errorBody(const ApiError& error, const std::string& requestId)
{
	Json inner = Json::object();
	inner["code"] = error.code;
	inner["message"] = error.message;
	inner["hint"] = error.hint;
	inner["request_id"] = requestId;
	for (const auto& [key, value] : error.extra.items())
	{
		inner[key] = value;
	}
	Json body = Json::object();
	body["error"] = std::move(inner);
	return body;
}

ApiError invalidRequest(std::string message, std::string hint)
{
	return ApiError(400, "invalid_request", std::move(message), std::move(hint));
}

ApiError internalError(const std::string& what)
{
	return ApiError(500, "internal", "The emulator failed while handling this request (" + what + "); nothing was changed.",
		"This is a fault of the emulator or its disk, not of the request. Retrying is safe.");
}

std::string inQuotes(const std::string& text)
{
	return dumpJson(Json(text));
}
}
