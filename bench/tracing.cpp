// The program as the bench times its alarms: the same program, with a desktop that says on stderr
// when a beep or a message box reaches it, on the monotonic clock. A beep leaves no window to
// watch, so this is how the bench times an alarm to the tick that gives it.
#include "app/program.h"
#include "forms/desktop/desktop.h"

#include <cstdio>
#include <ctime>

namespace {

void trace(const char *kind)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "kzb-bench %s %lld.%09ld\n", kind, static_cast<long long>(now.tv_sec),
                 now.tv_nsec);
}

class TracingDesktop : public forms::SystemDesktop
{
public:
    void messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                    Arrival arrival) override
    {
        trace("message-box");
        SystemDesktop::messageBox(owner, icon, title, text, arrival);
    }

    void beep() override
    {
        trace("beep");
        SystemDesktop::beep();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    TracingDesktop desktop;
    forms::Desktop::install(&desktop);
    const int code = runProgram(argc, argv);
    forms::Desktop::install(nullptr);
    return code;
}
