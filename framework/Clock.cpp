#include "Clock.h"

namespace {
class CTickClock final : public IClock {
public:
    DWORD NowMs() const override { return ::GetTickCount(); }
};
} // namespace

const IClock& TickClock()
{
    static const CTickClock clock;
    return clock;
}
