// Version information of a plugin.  On Windows the plugin carries a
// version resource; on Linux this macro writes the same facts into the
// ".zalversion" ELF section that the library reads without loading the file.
#pragma once

#if defined(_WIN32)
#define ZAL_VERSION_SECTION(fileVersion, product, company, description, copyright)
#else
#define ZAL_VERSION_SECTION(fileVersion, product, company, description, copyright)            \
    __attribute__((section(".zalversion"), used)) static const char zal_version_section[] =   \
        "FileVersion=" fileVersion "\nTranslation=0409 04b0\nProductName=" product             \
        "\nCompanyName=" company "\nFileDescription=" description "\nLegalCopyright=" copyright \
        "\n";
#endif
