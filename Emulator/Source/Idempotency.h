#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Velmora
{
constexpr int64_t IdempotencyLifetimeSeconds = 14 * 24 * 60 * 60;

// What identifies a request for idempotency: method, path and body, byte for byte.
std::string requestFingerprint(const std::string& method, const std::string& path, const std::string& body);

// True for 1 to 255 printable ASCII characters.
bool isValidIdempotencyKey(const std::string& key);

// Keys whose first request is still being processed. Held in memory: a request in flight dies with
// the process, and its answer is only ever stored together with its commit.
class InFlightKeys
{
public:
	enum class Claim
	{
		Claimed, // the caller now runs the request and must release the key
		InUse,   // the same request is still running
		Reused,  // another request with the same key is still running
	};

	Claim claim(const std::string& playerId, const std::string& key, const std::string& fingerprint);
	void release(const std::string& playerId, const std::string& key);

private:
	std::mutex m_mutex;
	std::unordered_map<std::string, std::string> m_fingerprints;
};

class InFlightClaim
{
public:
	InFlightClaim(InFlightKeys& keys, std::string playerId, std::string key)
		: m_keys(keys), m_playerId(std::move(playerId)), m_key(std::move(key))
	{
	}
	~InFlightClaim() { m_keys.release(m_playerId, m_key); }
	InFlightClaim(const InFlightClaim&) = delete;
	InFlightClaim& operator=(const InFlightClaim&) = delete;

private:
	InFlightKeys& m_keys;
	std::string m_playerId;
	std::string m_key;
};
}
