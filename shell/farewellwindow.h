#pragma once

#include "forms/placement/window.h"

// The farewell picture of the exit sequence. Loading it hides every other window; two seconds
// later, at a click, or when the window system closes it, it ends the program.
class FarewellWindow : public forms::Window
{
    Q_OBJECT
public:
    FarewellWindow();

protected:
    // The load hides every other window.
    void whenLoaded() override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // The exit sequence has begun: a close by the window system must not leave the hidden
    // windows loaded and the process running with nothing on screen.
    void closeEvent(QCloseEvent *event) override;

private:
    void endProgram();
};
