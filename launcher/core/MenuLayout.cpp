#include "launcher/core/MenuLayout.h"

#include "launcher/resource.h"

std::array<ButtonPlace, 6> MenuButtonPlaces(int w, int h) {
    const int columns[3] = {6, w + 13, 2 * w + 20};
    const int rows[2] = {5, h + 10};
    const int order[2][3] = {{IDC_FAXPRINT, IDC_LOGBOOK, IDC_AUTORECV}, {IDC_SCANER, IDC_VIEWFAX, IDC_PHONEBOOK}};
    std::array<ButtonPlace, 6> places{};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c)
            places[r * 3 + c] = {order[r][c], columns[c], rows[r], w + 2, h};
    }
    return places;
}

int MenuClientWidth(int w) {
    return 3 * w + 28;
}

int MenuClientHeight(int h) {
    return 2 * h + 15;
}

std::string DrivePart(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        return path.substr(0, 2);
    return std::string();
}
