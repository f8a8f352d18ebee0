#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace quorvel::platform {

namespace {
const char* ownWords(int error) {
  switch (error) {
    case ENOENT:
      return "找不到";
    case EACCES:
    case EPERM:
      return "没有权限";
    case EISDIR:
      return "是文件夹";
    case ENOSPC:
    case EDQUOT:
      return "磁盘已满";
    case EROFS:
      return "磁盘只读";
    case ENOTDIR:
      return "路径中有一项不是文件夹";
    case EEXIST:
      return "已经存在";
    case ENAMETOOLONG:
      return "名称太长";
    case ELOOP:
      return "符号链接层数太多";
    case EIO:
      return "读写出错";
    case EMFILE:
    case ENFILE:
      return "打开的文件太多";
    case EBUSY:
    case ETXTBSY:
      return "正被占用";
    case ENXIO:
    case ENODEV:
      return "设备不可用";
    case EFBIG:
      return "文件太大";
    default:
      return "系统错误";
  }
}
}  // namespace

std::string systemErrorText(int error) {
  // Files are opened and read on the interface thread only: strerror suffices.
  return std::string(ownWords(error)) + "：" + std::strerror(error);
}

}  // namespace quorvel::platform
