# The text table: src/settings/texts/<code>.txt compiled into hxq_settings at build time.

# Every language of the table, code and offset. en is the base every other file is
# checked against.
set(HXQ_TEXT_LANGUAGES
  en 0  fi 1000  fr 2000  de 3000  it 5000  no 6000  es 9000  sv 10000  da 12000  nl 13000)

# hxq_text_table(TARGET): generates the table from the language files present and adds it
# to TARGET. A language of the list whose file is not there is left out with a note (the
# table's tests name the missing blocks); a file of a language not on the list stops the
# configuration. The glob is re-checked at every build, so a new file is picked up.
function(hxq_text_table target)
  set(dir "${PROJECT_SOURCE_DIR}/src/settings/texts")
  file(GLOB present CONFIGURE_DEPENDS "${dir}/*.txt")

  set(known "")
  set(args "")
  set(files "")
  set(missing "")
  set(pairs ${HXQ_TEXT_LANGUAGES})
  while(pairs)
    list(POP_FRONT pairs code offset)
    list(APPEND known "${dir}/${code}.txt")
    if(EXISTS "${dir}/${code}.txt")
      list(APPEND args ${code} ${offset} "${dir}/${code}.txt")
      list(APPEND files "${dir}/${code}.txt")
    else()
      list(APPEND missing ${code})
    endif()
  endwhile()
  if(NOT EXISTS "${dir}/en.txt")
    message(FATAL_ERROR "Text table: the English base file ${dir}/en.txt is missing")
  endif()
  foreach(file IN LISTS present)
    if(NOT file IN_LIST known)
      message(FATAL_ERROR "Text table: ${file} is not a language of HXQ_TEXT_LANGUAGES (cmake/HxqTexts.cmake)")
    endif()
  endforeach()
  if(missing)
    list(JOIN missing " " missing_text)
    message(STATUS "Text table: no file yet for ${missing_text}; those blocks are left out")
  endif()

  set(out "${PROJECT_BINARY_DIR}/generated/settings/text_table.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND text_table_compiler "${out}" ${args}
    DEPENDS text_table_compiler ${files}
    COMMENT "Compiling the text table"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
