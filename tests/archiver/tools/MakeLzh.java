// Writes an LZH archive with the Java LHA library of Debian's jlha-utils, one member per
// file, each packed with the method given.
// Usage: java -cp /usr/share/java/jlha.jar MakeLzh.java archive method file...
import java.io.FileInputStream;
import java.io.FileOutputStream;
import java.io.File;
import java.util.Date;
import jp.gr.java_conf.dangan.util.lha.LhaHeader;
import jp.gr.java_conf.dangan.util.lha.LhaOutputStream;

public class MakeLzh {
    public static void main(String[] args) throws Exception {
        try (LhaOutputStream out = new LhaOutputStream(new FileOutputStream(args[0]))) {
            for (int i = 2; i < args.length; ++i) {
                File file = new File(args[i]);
                LhaHeader header = new LhaHeader(file.getName(), new Date(file.lastModified()));
                header.setCompressMethod(args[1]);
                header.setHeaderLevel(2);
                out.putNextEntry(header);
                try (FileInputStream in = new FileInputStream(file)) {
                    in.transferTo(out);
                }
                out.closeEntry();
            }
        }
    }
}
