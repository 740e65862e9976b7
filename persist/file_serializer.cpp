// KFileSerializer and its factories: a file opened by name (narrow, or UTF-16
// converted to UTF-8) and owned until Close or destruction.
//
// Readers open with "rb" and measure the file size once; a directory is
// refused with 1102 (it opens, but no bytes can be read from it). Writers
// open with "wb", or "ab" for Append. DontOverwrite first probes the path
// with "rb" and then creates the file exclusively ("wbx"), so a file that
// exists but cannot be read is refused with 1115 too, never truncated.
// A path with an embedded zero would name a different file than asked for
// and is refused with 1102.
#include <lumora/serializer.h>

#include <lumora/errors.h>
#include <lumora/exception.h>

#include "persist/factory_failure.h"
#include "persist/stream_io.h"
#include "platform/utf16.h"

#include <sys/stat.h>

#include <cerrno>
#include <new>
#include <string>

namespace {

[[noreturn]] void Raise(K_ERRORS code) { throw Corvane::Lumora::Exception(code); }

// Opens the one given path (narrow or wide) with an ASCII mode; null when
// the open fails, with errno set.
FILE* OpenPath(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath,
               const char* mode) {
    if (widePath) {
        if (widePath->empty() || widePath->find(static_cast<unsigned short>(0)) != std::basic_string<unsigned short>::npos) {
            Raise(K_ERROR_FILE_OPEN);
        }
        unsigned short wideMode[4] = {0, 0, 0, 0};
        for (int i = 0; i < 3 && mode[i] != 0; ++i) {
            wideMode[i] = static_cast<unsigned char>(mode[i]);
        }
        return lumora::platform::OpenWideFile(widePath->c_str(), wideMode);
    }
    if (narrowPath->find('\0') != std::string::npos) {
        Raise(K_ERROR_FILE_OPEN);
    }
    return std::fopen(narrowPath->c_str(), mode);
}

bool IsDirectory(FILE* file) {
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

KFileSerializer::KFileSerializer() : m_pFile(nullptr), m_n64FileSize(0), m_n32Writing(0) {}

KSerializer* KFileSerializer::Open(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath,
                                   int32_t writing, FileWriterMode mode) {
    KOk();
    KFileSerializer* serializer = new (std::nothrow) KFileSerializer();
    if (!serializer) {
        KSetError(K_ERROR_ALLOCATION);
        return nullptr;
    }
    try {
        if (writing) {
            serializer->OpenWriting(narrowPath, widePath, mode);
        } else {
            serializer->OpenReading(narrowPath, widePath);
        }
        return serializer;
    } catch (...) {
        delete serializer;
        lumora::detail::StoreFactoryFailure();
        return nullptr;
    }
}

void KFileSerializer::OpenReading(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath) {
    m_pFile = OpenPath(narrowPath, widePath, "rb");
    if (!m_pFile) {
        Raise(K_ERROR_FILE_OPEN);
    }
    if (IsDirectory(m_pFile)) {
        Raise(K_ERROR_FILE_OPEN);
    }
    m_n32Writing = 0;
    m_n64FileSize = lumora::detail::MeasureEnd(m_pFile);
}

void KFileSerializer::OpenWriting(const std::string* narrowPath, const std::basic_string<unsigned short>* widePath,
                                  FileWriterMode mode) {
    if (mode == DontOverwrite) {
        if (FILE* probe = OpenPath(narrowPath, widePath, "rb")) {
            std::fclose(probe);
            Raise(K_ERROR_OVERWRITE_NOT_ALLOWED);
        }
        m_pFile = OpenPath(narrowPath, widePath, "wbx");
        if (!m_pFile) {
            Raise(errno == EEXIST ? K_ERROR_OVERWRITE_NOT_ALLOWED : K_ERROR_FILE_OPEN);
        }
    } else {
        m_pFile = OpenPath(narrowPath, widePath, mode == Append ? "ab" : "wb");
        if (!m_pFile) {
            Raise(K_ERROR_FILE_OPEN);
        }
    }
    m_n32Writing = 1;
}

KSerializer* KSerializer::CreateFileReader(const std::string& path) {
    return KFileSerializer::Open(&path, nullptr, 0, Overwrite);
}

KSerializer* KSerializer::CreateFileReader(const std::basic_string<unsigned short>& path) {
    return KFileSerializer::Open(nullptr, &path, 0, Overwrite);
}

KSerializer* KSerializer::CreateFileWriter(const std::string& path, FileWriterMode mode) {
    return KFileSerializer::Open(&path, nullptr, 1, mode);
}

KSerializer* KSerializer::CreateFileWriter(const std::basic_string<unsigned short>& path, FileWriterMode mode) {
    return KFileSerializer::Open(nullptr, &path, 1, mode);
}

void KFileSerializer::Close() {
    m_an64Positions.clear();
    if (!m_pFile) {
        return;
    }
    FILE* file = m_pFile;
    m_pFile = nullptr;
    if (std::fclose(file) != 0) {
        KSetError(K_ERROR_FILE_CLOSE);
    }
}

unsigned int KFileSerializer::GetCurrentPos() {
    KOk();
    return lumora::detail::CurrentPos32(m_pFile);
}

KFileSerializer::~KFileSerializer() {
    if (m_pFile) {
        std::fclose(m_pFile);
    }
}

unsigned int KFileSerializer::SerializeBytes(void* data, unsigned int size, const char*) {
    lumora::detail::TransferBytes(m_pFile, m_n32Writing != 0, data, size);
    return size;
}

int KFileSerializer::IsWriting() const { return m_pFile && m_n32Writing ? 1 : 0; }

int KFileSerializer::IsEOS() const {
    if (!m_pFile) {
        return 1;
    }
    return !m_n32Writing && lumora::detail::AtEnd(m_pFile, m_n64FileSize) ? 1 : 0;
}

int KFileSerializer::IsReading() const { return m_pFile && !m_n32Writing ? 1 : 0; }

void KFileSerializer::PushStreamPos() { lumora::detail::PushOffset(m_pFile, m_an64Positions); }

void KFileSerializer::PopAndForgetStreamPos() { lumora::detail::DropTopOffset(m_an64Positions); }

void KFileSerializer::PopAndApplyStreamPos() { lumora::detail::ApplyTopOffset(m_pFile, m_an64Positions); }
