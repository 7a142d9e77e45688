# Windows DLLs that nenga.exe needs only for a command, not to start: the file dialog
# (comdlg32), the editor launch and the help page (shell32, ole32), the sound cues
# (winmm) and the taskbar's pictures of the windows (dwmapi, asked for once the windows
# are up). Their import libraries here are delay-load ones, so each DLL is loaded on its
# first call rather than before the program starts. Link nenga_delayed_dlls ahead of the usual import
# libraries; a function not listed here still comes from those.
set(nenga_delayed_dll_functions
    "comdlg32.dll:GetOpenFileNameW"
    "dwmapi.dll:DwmIsCompositionEnabled:DwmSetWindowAttribute:DwmSetIconicThumbnail:DwmSetIconicLivePreviewBitmap:DwmInvalidateIconicBitmaps"
    "ole32.dll:CoInitializeEx:CoUninitialize"
    "shell32.dll:ShellExecuteW"
    "winmm.dll:PlaySoundW")

find_program(NENGA_DLLTOOL NAMES ${MINGW_PREFIX}-dlltool x86_64-w64-mingw32-dlltool REQUIRED)
set(nenga_delay_dir ${CMAKE_BINARY_DIR}/delayload)
file(MAKE_DIRECTORY ${nenga_delay_dir})
set(nenga_delay_libs)
foreach(entry IN LISTS nenga_delayed_dll_functions)
  string(REPLACE ":" ";" parts ${entry})
  list(POP_FRONT parts dll)
  get_filename_component(stem ${dll} NAME_WE)
  set(def ${nenga_delay_dir}/${stem}.def)
  set(lib ${nenga_delay_dir}/lib${stem}_delay.a)
  list(JOIN parts "\n" exports)
  file(WRITE ${def} "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${NENGA_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dlltool could not make ${lib}")
  endif()
  list(APPEND nenga_delay_libs ${lib})
endforeach()
add_library(nenga_delayed_dlls INTERFACE)
target_link_libraries(nenga_delayed_dlls INTERFACE ${nenga_delay_libs})
