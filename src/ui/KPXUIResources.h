#pragma once

// The pictures of the windows, compiled into kpx_ui as a Qt resource file. A static library's
// resources are registered only when the program asks for them: the program and the tests
// call Initialize once before the first window.
class KPXUIResources {
public:
    // The program's pictures, as the windows name them.
    static constexpr const char* kApplicationPicture = ":/pictures/APPLICATIONPICTURE";
    static constexpr const char* kVersionPicture = ":/pictures/VERSIONPICTURE";
    static constexpr const char* kUpdatePicture1 = ":/pictures/UPDATEPICTURE1";
    static constexpr const char* kUpdatePicture2 = ":/pictures/UPDATEPICTURE2";
    static constexpr const char* kIcon = ":/pictures/ICON";

    // Registers the pictures; later calls do nothing.
    static void Initialize();
};
