#pragma once
#include <array>
#include <string>

// Where the menu window's six picture buttons go, from the size w x h of the first button's bitmap: two rows of
// three, each button two pixels wider than its bitmap.
struct ButtonPlace {
    int id;
    int x, y, cx, cy;
};

std::array<ButtonPlace, 6> MenuButtonPlaces(int w, int h);
int MenuClientWidth(int w);
int MenuClientHeight(int h);

// "C:" for "C:\WINDOWS"; empty when the path has no drive letter (a UNC path, say).
std::string DrivePart(const std::string& path);
