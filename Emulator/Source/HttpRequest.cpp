#include "HttpRequest.h"

#include <cctype>

namespace Velmora
{
namespace
{
std::string decodeQueryPart(std::string_view text)
{
	std::string decoded;
	decoded.reserve(text.size());
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (text[i] == '+')
		{
			decoded.push_back(' ');
		}
		else if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 && hexDigitValue(text[i + 2]) >= 0)
		{
			decoded.push_back(static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2])));
			i += 2;
		}
		else
		{
			decoded.push_back(text[i]);
		}
	}
	return decoded;
}

}

bool equalsNoCase(std::string_view a, std::string_view b)
{
	if (a.size() != b.size())
	{
		return false;
	}
	for (size_t i = 0; i < a.size(); ++i)
	{
		if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
		{
			return false;
		}
	}
	return true;
}

const std::string* HttpRequest::findHeader(std::string_view name) const
{
	for (const auto& [headerName, value] : headers)
	{
		if (equalsNoCase(headerName, name))
		{
			return &value;
		}
	}
	return nullptr;
}

std::string HttpRequest::header(std::string_view name) const
{
	const std::string* value = findHeader(name);
	return value ? *value : std::string();
}

std::string HttpRequest::queryValue(std::string_view name) const
{
	const size_t question = target.find('?');
	if (question == std::string::npos)
	{
		return {};
	}
	std::string_view query = std::string_view(target).substr(question + 1);
	while (!query.empty())
	{
		const size_t amp = query.find('&');
		const std::string_view pair = query.substr(0, amp);
		const size_t equals = pair.find('=');
		if (decodeQueryPart(pair.substr(0, equals)) == name)
		{
			return equals == std::string_view::npos ? std::string() : decodeQueryPart(pair.substr(equals + 1));
		}
		if (amp == std::string_view::npos)
		{
			break;
		}
		query.remove_prefix(amp + 1);
	}
	return {};
}

std::string escapeForLog(std::string_view text)
{
	static const char* const Digits = "0123456789abcdef";
	std::string escaped;
	escaped.reserve(text.size());
	for (const char c : text)
	{
		const unsigned char u = static_cast<unsigned char>(c);
		if (u < 0x20 || u >= 0x7f || c == '\\')
		{
			escaped += "\\x";
			escaped.push_back(Digits[u >> 4]);
			escaped.push_back(Digits[u & 15]);
		}
		else
		{
			escaped.push_back(c);
		}
	}
	return escaped;
}

int hexDigitValue(char c)
{
	if (c >= '0' && c <= '9')
	{
		return c - '0';
	}
	if (c >= 'a' && c <= 'f')
	{
		return c - 'a' + 10;
	}
	if (c >= 'A' && c <= 'F')
	{
		return c - 'A' + 10;
	}
	return -1;
}
}
