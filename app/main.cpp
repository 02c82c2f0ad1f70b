#include "version.h"

#include <cstdio>

int main()
{
    std::printf("Kestrelyn Vormaplex %s\n", kv::kVersionText);
    return 0;
}
