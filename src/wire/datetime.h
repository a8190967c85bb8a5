// A civil date and time with one-second resolution, with no time zone attached.
#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wire {

class DateTime {
public:
    DateTime() = default;
    // Seconds since 1970-01-01T00:00:00 on the proleptic Gregorian calendar.
    static DateTime fromSeconds(std::int64_t secs) { DateTime d; d.secs_ = secs; return d; }
    // Midnight of the day `days` days after 1970-01-01.
    static DateTime fromDays(std::int64_t days);
    // Throws std::invalid_argument for a day that does not exist (31/02).
    static DateTime fromYmd(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static bool isValidDate(int year, int month, int day);
    // "YYYY-MM-DDTHH:MM:SS"; nullopt for any other shape or an impossible date.
    static std::optional<DateTime> parseIso(std::string_view text);

    std::int64_t seconds() const { return secs_; }
    std::int64_t days() const;  // whole days since 1970-01-01 (earlier dates negative)
    int year() const;
    int month() const;
    int day() const;
    int hour() const;
    int minute() const;
    int second() const;
    bool hasTime() const { return secondsOfDay() != 0; }

    std::string iso() const;  // "YYYY-MM-DDTHH:MM:SS"
    std::string brazilianDate() const;  // "dd/mm/yyyy"

    auto operator<=>(const DateTime&) const = default;

private:
    std::int64_t secondsOfDay() const;
    std::int64_t secs_ = 0;
};

}  // namespace wire
