#pragma once
// The text table of the default HKEY_CLASSES_ROOT (format described in the source).

namespace orvanex::model {

const char* defaultClassesText();

} // namespace orvanex::model
