// What the game answers of the window and its keys besides play: F12 keeps a screenshot, Alt+Enter's switch
// reaches the full-screen setting, and a window that loses the focus leaves play as Escape does.
#pragma once

// Called last in every frame, once everything is drawn.
void FollowWindow();
