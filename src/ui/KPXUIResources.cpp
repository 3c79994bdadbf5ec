#include "KPXUIResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's registration function, which lives outside every
// namespace; it cannot be used inside one, nor inside a class.
static void RegisterPictures() { Q_INIT_RESOURCE(pictures); }

void KPXUIResources::Initialize() {
    static const bool registered = (RegisterPictures(), true);
    static_cast<void>(registered);
}
