#include "ArticleCodes.h"

#include <utility>

namespace {

// Articles with more than one code get their first.
constexpr std::pair<const char*, uint32_t> kCodeOfArticle[] = {
    {"480101", 0x07310021}, {"480102", 0x07310020}, {"480110", 0x07310040}, {"480121", 0x07310024},
    {"480131", 0x07310027}, {"480132", 0x07310026}, {"480141", 0x07310029}, {"480142", 0x07310028},
    {"480151", 0x07310030}, {"480161", 0x07310033}, {"480162", 0x07310032}, {"480201", 0x20520621},
    {"480202", 0x20510547}, {"480203", 0x20510091}, {"480204", 0x20510544}, {"480211", 0x20500027},
    {"480212", 0x20500033}, {"480213", 0x20500030},
};

} // namespace

uint32_t IdentificationCodeOf(const QString& article)
{
    for (const auto& [number, code] : kCodeOfArticle) {
        if (article == QLatin1String(number))
            return code;
    }
    return 0;
}
