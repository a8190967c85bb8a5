#include "wire/datetime.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace wire {
namespace {

namespace chr = std::chrono;

chr::sys_seconds timePoint(std::int64_t secs) { return chr::sys_seconds{chr::seconds{secs}}; }

chr::year_month_day civil(std::int64_t secs) { return chr::year_month_day{chr::floor<chr::days>(timePoint(secs))}; }

bool readDigits(std::string_view text, std::size_t pos, std::size_t count, int& out) {
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

}  // namespace

bool DateTime::isValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    return chr::year_month_day{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                               chr::day{static_cast<unsigned>(day)}}
        .ok();
}

DateTime DateTime::fromYmd(int year, int month, int day, int hour, int minute, int second) {
    if (!isValidDate(year, month, day))
        throw std::invalid_argument("invalid date " + std::to_string(day) + "/" + std::to_string(month) + "/" +
                                    std::to_string(year));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw std::invalid_argument("invalid time of day");
    const chr::sys_days date{chr::year{year} / month / day};
    return fromSeconds((chr::sys_seconds{date} + chr::hours{hour} + chr::minutes{minute} + chr::seconds{second})
                           .time_since_epoch()
                           .count());
}

DateTime DateTime::fromDays(std::int64_t days) {
    return fromSeconds(chr::sys_seconds{chr::sys_days{chr::days{days}}}.time_since_epoch().count());
}

std::optional<DateTime> DateTime::parseIso(std::string_view text) {
    // Exactly "YYYY-MM-DDTHH:MM:SS".
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    int y, mo, d, h, mi, s;
    if (!readDigits(text, 0, 4, y) || !readDigits(text, 5, 2, mo) || !readDigits(text, 8, 2, d) ||
        !readDigits(text, 11, 2, h) || !readDigits(text, 14, 2, mi) || !readDigits(text, 17, 2, s))
        return std::nullopt;
    if (!isValidDate(y, mo, d) || h > 23 || mi > 59 || s > 59) return std::nullopt;
    return fromYmd(y, mo, d, h, mi, s);
}

std::int64_t DateTime::days() const {
    return chr::floor<chr::days>(timePoint(secs_)).time_since_epoch().count();
}

std::int64_t DateTime::secondsOfDay() const {
    const auto t = timePoint(secs_);
    return (t - chr::floor<chr::days>(t)).count();
}

int DateTime::year() const { return static_cast<int>(civil(secs_).year()); }
int DateTime::month() const { return static_cast<int>(static_cast<unsigned>(civil(secs_).month())); }
int DateTime::day() const { return static_cast<int>(static_cast<unsigned>(civil(secs_).day())); }
int DateTime::hour() const { return static_cast<int>(secondsOfDay() / 3600); }
int DateTime::minute() const { return static_cast<int>(secondsOfDay() % 3600 / 60); }
int DateTime::second() const { return static_cast<int>(secondsOfDay() % 60); }

std::string DateTime::iso() const {
    const chr::year_month_day c = civil(secs_);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(c.year()),
                  static_cast<unsigned>(c.month()), static_cast<unsigned>(c.day()), hour(), minute(), second());
    return buf;
}

std::string DateTime::brazilianDate() const {
    const chr::year_month_day c = civil(secs_);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u/%02u/%04d", static_cast<unsigned>(c.day()), static_cast<unsigned>(c.month()),
                  static_cast<int>(c.year()));
    return buf;
}

}  // namespace wire
