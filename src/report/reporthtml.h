#pragma once

#include "report/reportcontent.h"

#include <QString>

// The report as one web page: self-contained (pictures as inline SVG or data
// addresses, styles in the page, no script, no address outside it), with a
// print style sheet so that a browser prints it as the PDF looks.
namespace report {

QString reportHtml(const Report &report);

} // namespace report
