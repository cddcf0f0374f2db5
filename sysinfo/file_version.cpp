#include "file_version.h"

#include "platform.h"

std::u16string FileVersionText(const std::u16string& path) {
  if (path.empty()) return {};
  Platform& os = Platform::Current();
  if (!os.FileExists(path)) return {};
  const VersionStrings strings = os.ReadVersionStrings(path);
  const std::u16string& product = strings.Product;
  std::u16string file = strings.File;

  const std::size_t slash = path.find_last_of(u'\\');
  const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  if (name == u"corpol.dll" && file == u"02003.00001.02600.02180") file = product;

  return product < file ? file : product;
}
