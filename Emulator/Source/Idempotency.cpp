#include "Idempotency.h"

#include "Crypto.h"

namespace Velmora
{
namespace
{
std::string slotName(const std::string& playerId, const std::string& key)
{
	// Player ids never hold a newline, so the pair is unambiguous.
	return playerId + '\n' + key;
}
}

std::string requestFingerprint(const std::string& method, const std::string& path, const std::string& body)
{
	std::string material;
	material.reserve(method.size() + path.size() + body.size() + 2);
	material.append(method).push_back('\0');
	material.append(path).push_back('\0');
	material.append(body);
	return sha256(material);
}

bool isValidIdempotencyKey(const std::string& key)
{
	if (key.empty() || key.size() > 255)
	{
		return false;
	}
	for (const char c : key)
	{
		if (c < 0x20 || c > 0x7E)
		{
			return false;
		}
	}
	return true;
}

InFlightKeys::Claim InFlightKeys::claim(const std::string& playerId, const std::string& key, const std::string& fingerprint)
{
	std::lock_guard lock(m_mutex);
	const auto [slot, bInserted] = m_fingerprints.emplace(slotName(playerId, key), fingerprint);
	if (bInserted)
	{
		return Claim::Claimed;
	}
	return slot->second == fingerprint ? Claim::InUse : Claim::Reused;
}

void InFlightKeys::release(const std::string& playerId, const std::string& key)
{
	std::lock_guard lock(m_mutex);
	m_fingerprints.erase(slotName(playerId, key));
}
}
