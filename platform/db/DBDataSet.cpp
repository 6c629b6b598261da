#include "platform/db/DBDataSet.h"

#include <QString>

#include "platform/db/DatabaseAliases.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TDBDataSet, TDataSet) {
  c.Prop("DatabaseName", &TDBDataSet::DatabaseName, &TDBDataSet::SetDatabaseName);
}

void TDBDataSet::SetDatabaseName(const std::string& v) {
  if (databaseName_ == v) return;
  CheckInactive();
  databaseName_ = v;
}

QSqlDatabase TDBDataSet::Database() const { return OpenAliasDatabase(databaseName_); }

bool IsSqlObjectName(std::string_view name) {
  const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (text.isEmpty() || text.startsWith(u'.') || text.endsWith(u'.') || text.contains(u".."))
    return false;
  for (const QChar c : text)
    if (!c.isLetterOrNumber() && c != u'_' && c != u'.') return false;
  return true;
}
