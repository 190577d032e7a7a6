// The report of Write to Several Cameras as CSV: a comment line saying when,
// on which port and rate, and from which settings file; a header row; one
// camera a line.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "link/multi_write.h"

struct MultiWriteReportHeading {
  QDateTime when;
  QString port;
  int baud = 0;
  QString settingsFile;
};

QString MultiWriteReportText(const MultiWriteReportHeading& heading,
                             const std::vector<MultiWriteResult>& rows);
