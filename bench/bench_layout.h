// The files a benchmark run needs in its working directory: profiles, the
// simulated landscape and a global sensor listing.
#pragma once

#include <filesystem>
#include <string>

// A profile for system `name` on host `host` (system number 00, client 100,
// user MONITOR), its password scrambled as a profile file holds it.
std::string BenchProfile(const std::string& name, const std::string& host);

// A landscape of `count` MaxDB systems named by SystemName(i), on hosts
// HostName(i), each accepting the bench profile's account.
std::string BenchLandscape(int count, int latency_ms = 0);

// A global sensor listing of sensor "BENCH" naming the profiles of `count`
// systems, reporting "Used Area".
std::string BenchListing(int count);

std::string SystemName(int i);
std::string HostName(int i);

void WriteText(const std::filesystem::path& path, const std::string& text);
