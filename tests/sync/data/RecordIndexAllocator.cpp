// Usage: sync_ri_allocator <profile> <count>; prints each index it was given, one per line.
#include "sync/data/SyncRegistry.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const int profile = std::atoi(argv[1]);
  const int count = std::atoi(argv[2]);
  for (int i = 0; i < count; ++i) std::printf("%d\n", AllocateNextRecIndex(profile));
  return 0;
}
