#pragma once

namespace kestrava {

// Whether a program's reading document opens with its own title, name and
// date lines.  A document of its own does; a section of the practitioner's
// report does not, as its title page already names the client and the date.
enum class TitleBlock { Shown, Omitted };

} // namespace kestrava
