// The time-zone bias in minutes, positive west of Greenwich (UTC = local time + bias), for the
// moment it is asked.
#pragma once

namespace kavlo {

class TimeZoneSource {
public:
    virtual ~TimeZoneSource() = default;
    virtual int BiasMinutes() const = 0;
};

class FixedTimeZone final : public TimeZoneSource {
public:
    explicit FixedTimeZone(int biasMinutes) : bias_(biasMinutes) {}
    int BiasMinutes() const override { return bias_; }
private:
    int bias_;
};

}  // namespace kavlo
