// Converts a NaN to an integer, which is undefined behaviour: the sanitizer build must report
// it. The test around this program passes only on that report, so a sanitizer build that lost
// float-cast-overflow (GCC's "undefined" group leaves it out) fails instead of looking clean.
#include <cmath>
#include <cstdio>

int main(int argc, char**) {
    volatile double not_a_number = std::nan(""); // volatile: the conversion happens at run time
    const int index = static_cast<int>(not_a_number + argc);
    std::printf("converted without a report: %d\n", index);
    return 0;
}
