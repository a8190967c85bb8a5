#include "wire/datetime.h"

#include <cstdio>
#include <stdexcept>

namespace wire {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    int year;
    int month;
    int day;
};

Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

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
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = (month == 2 && leap) ? 29 : kDays[month - 1];
    return day <= last;
}

DateTime DateTime::fromYmd(int year, int month, int day, int hour, int minute, int second) {
    if (!isValidDate(year, month, day))
        throw std::invalid_argument("invalid date " + std::to_string(day) + "/" + std::to_string(month) + "/" +
                                    std::to_string(year));
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw std::invalid_argument("invalid time of day");
    const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return fromSeconds(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
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

std::int64_t DateTime::secondsOfDay() const { return secs_ - floorDiv(secs_, kSecondsPerDay) * kSecondsPerDay; }

int DateTime::year() const { return civilFromDays(floorDiv(secs_, kSecondsPerDay)).year; }
int DateTime::month() const { return civilFromDays(floorDiv(secs_, kSecondsPerDay)).month; }
int DateTime::day() const { return civilFromDays(floorDiv(secs_, kSecondsPerDay)).day; }
int DateTime::hour() const { return static_cast<int>(secondsOfDay() / 3600); }
int DateTime::minute() const { return static_cast<int>(secondsOfDay() % 3600 / 60); }
int DateTime::second() const { return static_cast<int>(secondsOfDay() % 60); }

std::string DateTime::iso() const {
    const Civil c = civilFromDays(floorDiv(secs_, kSecondsPerDay));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, hour(), minute(),
                  second());
    return buf;
}

std::string DateTime::brazilianDate() const {
    const Civil c = civilFromDays(floorDiv(secs_, kSecondsPerDay));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", c.day, c.month, c.year);
    return buf;
}

}  // namespace wire
